#!/usr/bin/env bash
# Builds the module and runs the host program on the simulated driver's default boards.
# Arguments are passed to the host program (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null
exec build/native/qxzeva-host "$@"
