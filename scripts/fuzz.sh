#!/usr/bin/env bash
# Runs every libFuzzer target of the fuzz preset, one after the other, from its committed
# seed corpus (fuzz/corpus/<target>/), and fails when any of them finds anything.
#   scripts/fuzz.sh short           about 24 seconds per target (what test-all.sh runs)
#   scripts/fuzz.sh long [seconds]  as long as you like per target (default 600); the corpus
#                                   grown in build/fuzz/corpus-work/ is kept for the next run
# Findings (crash-, leak-, timeout-, oom- files) land in build/fuzz/findings/; replay one with
#   build/fuzz/fuzz/<target> build/fuzz/findings/<file>
set -uo pipefail
cd "$(dirname "$0")/.."

mode=${1:-short}
case "$mode" in
short) seconds=24 ;;
long) seconds=${2:-600} ;;
*)
    echo "usage: $0 short | long [seconds]" >&2
    exit 2
    ;;
esac

build=build/fuzz
# Always the incremental build: a run after an edit fuzzes the edited code, never stale targets.
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || exit 1

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
mkdir -p "$build/findings" "$build/corpus-work"
summary="$build/fuzz-summary.txt"
: >"$summary"
total_findings=0

for binary in "$build"/fuzz/*_fuzzer; do
    target=$(basename "$binary")
    work="$build/corpus-work/$target"
    # A short run starts from the seeds alone, so every run of the test command is alike.
    [ "$mode" = short ] && rm -rf "$work"
    mkdir -p "$work"
    cp -n fuzz/corpus/"$target"/* "$work"/ 2>/dev/null
    log="$build/$target.log"
    # A target whose input is a text format gets its words as a dictionary (fuzz/<target>.dict).
    dictionary=()
    [ -f fuzz/"$target".dict ] && dictionary=(-dict=fuzz/"$target".dict)
    before=$(ls "$build/findings" | grep -c "^$target-" || true)
    "$binary" "${dictionary[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=512 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" "$work" >"$log" 2>&1
    status=$?
    after=$(ls "$build/findings" | grep -c "^$target-" || true)
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    findings=$((after - before))
    ((status != 0 && findings == 0)) && findings=1 # stopped without leaving an artifact
    total_findings=$((total_findings + findings))
    line="$target: ${executions:-0} executions, $findings findings"
    echo "$line" | tee -a "$summary"
    if ((findings > 0)); then
        grep -E 'ERROR|check failed|unexpected|SUMMARY|Test unit written' "$log" | head -n 20
    fi
done

echo "fuzzing: $total_findings findings" | tee -a "$summary"
((total_findings == 0))
