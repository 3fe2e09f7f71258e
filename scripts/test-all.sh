#!/usr/bin/env bash
# Builds and runs every test on every target: native, AddressSanitizer with
# UndefinedBehaviorSanitizer, ThreadSanitizer (threaded tests), 32-bit big-endian PowerPC
# under qemu-ppc, the coverage floors, short bounded runs of every fuzzer, and the benchmark
# scenario's instruction ratios against the kept ones. The native tests also check the
# sources' format and run clang-tidy and cppcheck over them.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

failed=()
passed=()

run_preset() {
    local preset=$1
    echo "=== $preset: configure and build"
    mkdir -p build
    if ! cmake --preset "$preset" >"build/$preset.log" 2>&1 ||
        ! cmake --build --preset "$preset" >>"build/$preset.log" 2>&1; then
        tail -n 60 "build/$preset.log"
        failed+=("$preset (build)")
        return
    fi
    rm -f "build/$preset.log"
    if [ "$preset" = fuzz ]; then
        scripts/fuzz.sh short && passed+=("$preset") || failed+=("$preset")
        return
    fi
    if [ "$preset" = coverage ]; then
        echo "=== $preset: tests and the coverage floors"
        scripts/coverage.sh && passed+=("$preset") || failed+=("$preset")
        return
    fi
    echo "=== $preset: tests"
    if ctest --preset "$preset"; then
        passed+=("$preset")
    else
        failed+=("$preset")
    fi
}

for preset in native asan tsan ppc coverage ${QX_EXTRA_PRESETS:-}; do
    run_preset "$preset"
done
[ -d fuzz ] && [ -f fuzz/CMakeLists.txt ] && run_preset fuzz

# Performance held still: the benchmark scenario's instruction ratios under callgrind against
# bench/baseline-ratios.txt (preset bench, two targets; skipped with its reason without valgrind).
echo "=== bench: instruction ratios against the kept ones"
scripts/bench-ratios.sh && passed+=(bench-ratios) || failed+=(bench-ratios)

# The reliability figures of this run, from the tests' own output.
figures() {
    local log=build/$1/Testing/Temporary/LastTest.log
    [ -f "$log" ] || return 0
    echo "=== reliability figures ($1)"
    awk '/^\[sweep\] / { scenarios++; sub(/.*: /, ""); injected += $1; leaks += $5; wrong += $7 }
         END { if (scenarios) printf "allocation-failure sweep: %d scenarios, %d allocation failures injected, %d leaks, %d wrong results\n", scenarios, injected, leaks, wrong }' "$log"
    grep -h -E '^(thread stress|load cycles):' "$log" | sort -u
}
figures native
figures tsan
[ -f build/fuzz/fuzz-summary.txt ] && cat build/fuzz/fuzz-summary.txt
if [ -f build/coverage/coverage-summary.txt ]; then
    echo "=== coverage of the module's layers (floors in gcovr.cfg)"
    grep -E '^(lines|branches):' build/coverage/coverage-summary.txt
fi
if [ -f build/coverage/coverage-outside-summary.txt ]; then
    echo "=== coverage outside the module (floors in scripts/coverage.sh)"
    cat build/coverage/coverage-outside-summary.txt
fi

echo "targets passed: ${passed[*]:-none}"
echo "targets failed: ${failed[*]:-none}"
echo "${#passed[@]} passed, ${#failed[@]} failed"
((${#failed[@]} == 0))
