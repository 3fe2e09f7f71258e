#!/usr/bin/env bash
# Builds the coverage preset, runs its tests and counts the lines and branches they reach
# (gcovr): of the module's four layers, against the floors of gcovr.cfg, where the figures
# are also explained; and of each folder outside the module, against the floors below. Fails
# below any floor. The reports for a browser: build/coverage/coverage.html (the four layers);
# as text, build/coverage/coverage.txt and build/coverage/coverage-<folder>.txt.
set -uo pipefail
cd "$(dirname "$0")/.."

# The folders outside the module, with the percent of lines and of branches their tests
# must reach. Set just below what the tests reached: half a point for branches, which the
# threaded tests take or not by how their tasks meet. Raise them as tests reach more; never
# lower them.
outside_floors=(
    "cli       92.5 81.2"
    "host      85.0 59.2"
    "include   98.5 90.0"
    "platform  92.0 76.9"
    "validate  89.0 74.5"
)

cmake --preset coverage >/dev/null || exit 1
cmake --build --preset coverage >/dev/null || exit 1
# Counts add up across runs: start from none.
find build/coverage -name '*.gcda' -delete
ctest --preset coverage || exit 1
gcovr --config gcovr.cfg --root . --html-details build/coverage/coverage.html \
    --txt build/coverage/coverage.txt build/coverage | tee build/coverage/coverage-summary.txt
status=$?

# The folders outside the module: gcov's counts read once, with the settings of
# gcovr-outside.cfg, then each folder against its own floors. One line per folder in
# coverage-outside-summary.txt, which scripts/test-all.sh prints.
counts=build/coverage/coverage-outside.json
summary=build/coverage/coverage-outside-summary.txt
: >"$summary"
folders=()
for entry in "${outside_floors[@]}"; do
    read -r folder _ <<<"$entry"
    folders+=(--filter "$folder/")
done
gcovr --config gcovr-outside.cfg --root . "${folders[@]}" --json "$counts" build/coverage ||
    exit 1
for entry in "${outside_floors[@]}"; do
    read -r folder line_floor branch_floor <<<"$entry"
    figures=$(gcovr --config gcovr-outside.cfg --root . --add-tracefile "$counts" \
        --filter "$folder/" --txt "build/coverage/coverage-$folder.txt" --print-summary \
        --fail-under-line "$line_floor" --fail-under-branch "$branch_floor") || status=1
    lines=$(sed -n 's/^lines: //p' <<<"$figures")
    branches=$(sed -n 's/^branches: //p' <<<"$figures")
    printf '%-10s lines %s, floor %s%%; branches %s, floor %s%%\n' "$folder/" "$lines" \
        "$line_floor" "$branches" "$branch_floor" | tee -a "$summary"
done
exit "$status"
