#!/usr/bin/env bash
# Installs, from Debian's packages, what the build and the tests need and this machine lacks.
# The one list of those packages is debian/control's Build-Depends, where Debian's own tools
# read it: packages only the tests need are marked <!nocheck>, the reference's <!nodoc>.
#   install-deps.sh        the whole list: everything scripts/test-all.sh uses, on every target,
#                          and the de_DE.UTF-8 locale that the tests of the locale's decimal
#                          comma need
#   install-deps.sh --run  only what the native build of the module, the stand-ins and the host
#                          program needs (scripts/run.sh): the list without its test, reference
#                          and packaging entries; nothing else on the machine changes
# Does nothing when everything is there.
set -euo pipefail
cd "$(dirname "$0")/.."

# The Build-Depends field of debian/control, one relation a line.
build_depends() {
    awk '/^Build-Depends:/ { sub(/^Build-Depends:/, ""); field = 1; print; next }
         field && /^[ \t]/ { print; next }
         { field = 0 }' debian/control | tr ',' '\n' | sed 's/^[ \t]*//; s/[ \t]*$//; /^$/d'
}

case "${1:-}" in
"")
    profiles=""
    relations=$(build_depends | paste -sd, -)
    recommends=()
    ;;
--run)
    # debhelper builds the Debian packages, not the programs; build-essential is the
    # compiler that Debian leaves out of every Build-Depends.
    profiles="nocheck,nodoc"
    recommends=(--no-install-recommends)
    relations=$(build_depends | grep -v '^debhelper-compat' | paste -sd, -)
    ;;
*)
    echo "usage: $0 [--run]" >&2
    exit 2
    ;;
esac

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
apt_options=(-q -y -o "APT::Build-Profiles=$profiles")

# apt-get satisfy takes the relations as Debian writes them, build profiles and all. A trial
# run tells whether anything is missing; on a new machine, with no package lists yet, it
# fails, and that says the same.
if ! trial=$(apt-get -s "${apt_options[@]}" satisfy "build-essential, $relations" 2>&1) ||
    grep -q '^Inst ' <<<"$trial"; then
    echo "installing what debian/control's Build-Depends lists${profiles:+ (profiles: $profiles)}"
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get "${apt_options[@]}" \
        "${recommends[@]}" satisfy "build-essential, $relations"
fi
[ -n "$profiles" ] && exit 0

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
