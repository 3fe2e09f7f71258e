#!/usr/bin/env bash
# Builds the module, the stand-ins and the host program, and runs the host program on the
# simulated driver's default boards. Arguments are passed to the host program (try --help).
#
# The build goes to build/run, without the tests, benchmarks and fuzzers, and is complete:
# `cmake --install build/run --prefix DIR` installs it (with the HTML reference when doxygen
# is there). Its progress and
# any compiler error go to standard error, so that standard output holds only what the host
# program prints.
set -uo pipefail
cd "$(dirname "$0")/.."
build=build/run

# step DESCRIPTION COMMAND...: runs one step, its output on standard error; a failed step
# ends the script with the step's exit code and says which step it was.
step() {
    local what=$1
    shift
    echo "run.sh: $what" >&2
    "$@" >&2
    local status=$?
    if ((status != 0)); then
        echo "run.sh: failed while $what (exit $status): $*" >&2
        exit "$status"
    fi
}

step "installing the packages the build needs" scripts/install-deps.sh --run
# Once; later builds configure again by themselves when a CMakeLists.txt changes.
if [ ! -f "$build/build.ninja" ]; then
    step "configuring the build in $build" \
        cmake --preset native -B "$build" -DQX_BUILD_TESTS=OFF --log-level=WARNING
fi
step "building the module, the stand-ins and the host program" cmake --build "$build"
exec "$build/qxzeva-host" "$@"
