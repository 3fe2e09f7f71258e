#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and this machine
# lacks. Does nothing when everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format clang-tidy cppcheck gcovr git
    googletest
    g++-powerpc-linux-gnu qemu-user
    libtomlplusplus-dev nlohmann-json3-dev
    libclang-rt-14-dev libbenchmark-dev valgrind
    help2man doxygen python3-jsonschema pkgconf dpkg-dev file
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

if ((${#missing[@]} > 0)); then
    echo "installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi
