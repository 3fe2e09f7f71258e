#!/usr/bin/env bash
# Builds the benchmarks (preset bench: optimised, native, no sanitizers), runs them, takes
# the fixed scenario's instruction counts with callgrind, and writes the tables of
# docs/performance.md. Not part of the tests: CI does not run it.
#
# Arguments go to the benchmark binary (for instance --benchmark_filter=bag). The page is
# rewritten only by a full run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset bench >/dev/null
cmake --build --preset bench

results=build/bench/results
rm -rf "$results"
mkdir -p "$results"

# Five repetitions of each; the report takes the fastest, the one least disturbed by whatever
# else the shared machine ran at the time.
build/bench/qx_bench --benchmark_repetitions=5 --benchmark_display_aggregates_only=true \
    --benchmark_min_time=0.2 --benchmark_out="$results/benchmarks.json" \
    --benchmark_out_format=json "$@"

scripts/callgrind-scenario.sh "$results/callgrind"

if (($# == 0)); then
    build/bench/qx_bench_report "$results/benchmarks.json" "$results/callgrind" docs/performance.md
else
    echo "(a partial run: docs/performance.md left as it was)"
fi
