#!/usr/bin/env bash
# Renews the ABI baseline (abi/x86_64/, abi/ppc32/) from the native and the PowerPC builds:
# the dumps of the three libraries and of the module's C view that the test
# abi_matches_the_baseline compares each build with. Run it after a reviewed change of the
# ABI (an addition, or a new major version), then review and commit the difference in abi/.
#   renew-abi-baseline.sh [PRESET ...]    default: native ppc
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(native ppc)
for preset in "${presets[@]}"; do
    echo "renew-abi-baseline: the $preset build" >&2
    [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >&2
    cmake --build --preset "$preset" --target renew_abi_baseline
done
git status --short abi/
