#!/bin/sh
# Installs the Debian packages that building, running and testing EKView need.
# Idempotent: installs only what is missing. Run as root or with sudo available.
# With the argument "windows" it installs instead what the Windows cross build and
# its tests under Wine need (scripts/test-windows.sh), which the normal set-up leaves out.
set -eu

# A script that has checked once exports EKVIEW_DEPS_CHECKED=1 for the scripts it calls
# (EKVIEW_WINDOWS_DEPS_CHECKED=1 for the Windows set), so each set is checked once per command.
if [ "${1:-}" = "windows" ]; then
    [ "${EKVIEW_WINDOWS_DEPS_CHECKED:-}" = 1 ] && exit 0
elif [ "${EKVIEW_DEPS_CHECKED:-}" = 1 ]; then
    exit 0
fi

PACKAGES="build-essential cmake ninja-build pkg-config git python3 time
libgtest-dev libgmock-dev googletest libbenchmark-dev
clang clang-format libclang-rt-14-dev
libwxgtk3.2-dev libglib2.0-dev libx11-dev libfontconfig-dev xvfb xauth x11-apps x11-utils xdotool imagemagick fonts-ipafont fonts-ipaexfont
desktop-file-utils shared-mime-info file
libgmime-3.0-dev"

if [ "${1:-}" = "windows" ]; then
    PACKAGES="cmake ninja-build git googletest g++-mingw-w64-x86-64-posix wine wine64"
fi

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
