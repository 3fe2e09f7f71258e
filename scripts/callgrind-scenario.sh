#!/usr/bin/env bash
# Runs the benchmark's fixed scenario (build/bench/qx_bench_scenario, preset bench) under
# callgrind, one dump per measured region into DIR, callgrind's own messages into DIR.log.
# Used by scripts/bench.sh and scripts/bench-ratios.sh.
# Usage: callgrind-scenario.sh DIR
set -euo pipefail
cd "$(dirname "$0")/.."
out=$1
rm -rf "$out"
mkdir -p "$out"
# Symbols bound at start, so that no region pays for lazy binding.
if ! LD_BIND_NOW=1 valgrind --tool=callgrind --compress-strings=no --compress-pos=no \
    --callgrind-out-file="$out/scenario.out" build/bench/qx_bench_scenario 2>"$out.log"; then
    tail -n 20 "$out.log" >&2
    exit 1
fi
