#!/usr/bin/env bash
# Builds the coverage preset, runs its tests and counts the lines and branches of the
# module's four layers they reach (gcovr). Fails below the floors of gcovr.cfg, where the
# figures are also explained. The report for a browser: build/coverage/coverage.html.
set -uo pipefail
cd "$(dirname "$0")/.."

cmake --preset coverage >/dev/null || exit 1
cmake --build --preset coverage >/dev/null || exit 1
# Counts add up across runs: start from none.
find build/coverage -name '*.gcda' -delete
ctest --preset coverage || exit 1
gcovr --config gcovr.cfg --root . --html-details build/coverage/coverage.html \
    --txt build/coverage/coverage.txt build/coverage | tee build/coverage/coverage-summary.txt
