#!/bin/bash
# Installs the Debian packages that Levrin needs and the machine lacks.
# Usage: scripts/deps.sh run|test
set -euo pipefail

BUILD_PACKAGES=(cmake g++ make pkg-config libgtk-3-dev g++-mingw-w64-i686)
RUN_PACKAGES=(xvfb xauth)
TEST_PACKAGES=(googletest libgtest-dev libgmock-dev xvfb xauth xdotool
               imagemagick at-spi2-core dbus-x11 python3-pyatspi wine wine32:i386 fonts-wine
               clang libclang-rt-14-dev)

case "${1:-test}" in
    run) wanted=("${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}") ;;
    test) wanted=("${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
