#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and this machine
# lacks. Does nothing when everything is there.
#   install-deps.sh        everything scripts/test-all.sh uses, on every target
#   install-deps.sh --run  only what the native build of the module, the stand-ins and the
#                          host program needs (scripts/run.sh)
set -euo pipefail

run_packages=(cmake ninja-build g++ libtomlplusplus-dev nlohmann-json3-dev)
packages=(
    "${run_packages[@]}"
    clang clang-format clang-tidy cppcheck gcovr git
    googletest
    g++-powerpc-linux-gnu qemu-user
    libclang-rt-14-dev libbenchmark-dev valgrind
    doxygen python3-jsonschema pkgconf dpkg-dev file man-db
    debhelper lintian
    locales
)
case "${1:-}" in
"") ;;
--run) packages=("${run_packages[@]}") ;;
*)
    echo "usage: $0 [--run]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

if ((${#missing[@]} > 0)); then
    echo "installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi

# A locale whose decimal point is a comma, for the tests of time formatting in the locale's
# own notation: once for this machine, and once in big-endian form for the PowerPC runtime
# that the emulator runs the cross-built tests on.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "generating locale de_DE.UTF-8"
    "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
ppc_root=/usr/powerpc-linux-gnu
if ! localedef --big-endian --prefix="$ppc_root" --list-archive 2>/dev/null |
    grep -qix 'de_DE\.utf-\?8'; then
    echo "generating locale de_DE.UTF-8 for $ppc_root"
    "${sudo_cmd[@]}" mkdir -p "$ppc_root/usr/lib/locale"
    "${sudo_cmd[@]}" localedef --big-endian --prefix="$ppc_root" -i de_DE -f UTF-8 de_DE.UTF-8
fi
