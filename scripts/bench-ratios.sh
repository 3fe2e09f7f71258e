#!/usr/bin/env bash
# The test command's performance step: builds the benchmark's fixed scenario (preset bench),
# counts its instructions under callgrind and holds each module figure's ratio to its
# baseline in the same run to bench/baseline-ratios.txt. A ratio more than 2% worse fails,
# naming the figure; a better one is reported. Skipped, with the reason, where there is no
# valgrind or the machine is not the x86_64 the kept ratios were counted on.
#
# Usage: bench-ratios.sh           check against the kept ratios
#        bench-ratios.sh --renew   write the kept ratios from this tree (a cost that is meant)
set -euo pipefail
cd "$(dirname "$0")/.."
mode=--check
case "${1:-}" in
"") ;;
--renew) mode=--renew ;;
*)
    echo "usage: $0 [--renew]" >&2
    exit 2
    ;;
esac

if ! command -v valgrind >/dev/null; then
    echo "bench ratios: skipped: valgrind is not installed (scripts/install-deps.sh brings it)"
    exit 0
fi
if [ "$(uname -m)" != x86_64 ]; then
    echo "bench ratios: skipped: the kept ratios are x86_64's, this machine is $(uname -m)"
    exit 0
fi

log=build/bench-ratios.log
mkdir -p build
if ! { cmake --preset bench && cmake --build --preset bench --target qx_bench_scenario qx_bench_report; } >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "bench ratios: the bench preset's scenario did not build"
    exit 1
fi
scripts/callgrind-scenario.sh build/bench/ratios
build/bench/qx_bench_report "$mode" build/bench/ratios bench/baseline-ratios.txt
