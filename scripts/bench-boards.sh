#!/usr/bin/env bash
# Times the host program listing many boards of the simulated driver, with and without
# interface files (a board without one has its file claimed during discovery), and a capture
# of them with its replay, and prints the rows of docs/performance.md's tables of it. Not part
# of the tests.
#   scripts/bench-boards.sh [BUILD_DIR]   (default build/native, already built)
# Each figure is the fastest of five runs, the one least disturbed by other work.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/native}
host=$build/qxzeva-host
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# N boards, each at its own PCI location; with "files" each has its active interface file.
write_boards() {
    awk -v count="$1" -v files="$2" 'BEGIN {
        print "driver_version = 0x15030000"
        for (i = 0; i < count; ++i) {
            printf "[[board]]\nserial_number = %d\nboard_name = \"ZEVA PCIe-4C\"\n", i + 1
            printf "pci_id = 0x74C11F0A\npci_bus = %d\npci_device = %d\npci_function = %d\n",
                int(i / 256), int(i % 256 / 8), i % 8
            if (files == "files")
                printf "active_file = \"board%d.zid\"\n", i
        }
    }'
}

# The fastest of five runs of the program with these arguments, in ms.
fastest() {
    local best=
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        "$host" "$@" >/dev/null || true
        end=$(date +%s%N)
        local ms=$(((end - start) / 1000000))
        if [[ -z $best || $ms -lt $best ]]; then best=$ms; fi
    done
    echo "$best"
}

echo "| Boards | With interface files | Without (each claimed) | Ratio |"
echo "|---|---|---|---|"
for count in 1000 5000 10000; do
    write_boards "$count" files >"$work/with.toml"
    write_boards "$count" none >"$work/without.toml"
    with=$(fastest --boards "$work/with.toml")
    without=$(fastest --boards "$work/without.toml")
    printf '| %s | %s ms | %s ms | %s |\n' "$count" "$with" "$without" \
        "$(awk -v a="$without" -v b="$with" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')"
done

# A capture (--save-boards) of the boards without files, after the module claimed them, and
# its replay (--boards), which should grow as the report does: linearly.
echo
echo "| Boards | Report | Report and capture | Replay of the capture | Capture size |"
echo "|---|---|---|---|---|"
for count in 1000 5000; do
    write_boards "$count" none >"$work/without.toml"
    report=$(fastest --boards "$work/without.toml")
    capture=$(fastest --boards "$work/without.toml" --save-boards "$work/capture.toml")
    replay=$(fastest --boards "$work/capture.toml")
    printf '| %s | %s ms | %s ms | %s ms | %s KiB |\n' "$count" "$report" "$capture" "$replay" \
        "$(($(stat -c %s "$work/capture.toml") / 1024))"
done
