#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing.
# Does nothing when everything is present; says what to install when it cannot.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd g++ || need+=(g++)
have_cmd make || need+=(make)
have_cmd clang++ || need+=(clang)
# The texts check (tests/texts/check_texts.py).
have_cmd python3 || need+=(python3)
have_pkg libgtest-dev || need+=(libgtest-dev)
have_pkg googletest || need+=(googletest)
have_pkg libbenchmark-dev || need+=(libbenchmark-dev)
have_pkg libclang-rt-14-dev || need+=(libclang-rt-14-dev)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64)
have_cmd wine || need+=(wine)
have_pkg wine64 || need+=(wine64)
have_cmd Xvfb || need+=(xvfb)
have_cmd xdotool || need+=(xdotool)
[ -x /usr/bin/convert ] || need+=(imagemagick)
have_cmd xsetroot || need+=(x11-xserver-utils)
have_pkg fonts-liberation || need+=(fonts-liberation)
# The X11 drag source of the drop scenarios (tests/e2e/drag/drag_source.py).
have_pkg python3-gi || need+=(python3-gi)
have_pkg gir1.2-gtk-3.0 || need+=(gir1.2-gtk-3.0)
have_pkg fonts-wine || need+=(fonts-wine)
have_cmd openbox || need+=(openbox)
# The two-screen pass (tests/e2e/run-screens-e2e.sh) builds stand-in
# Xinerama and XRandR libraries and a bar with a strut, natively.
have_cmd gcc || need+=(gcc)
have_pkg libx11-dev || need+=(libx11-dev)
have_pkg libxinerama-dev || need+=(libxinerama-dev)
have_pkg libxrandr-dev || need+=(libxrandr-dev)
# xprop tells when openbox manages the private display.
have_cmd xprop || need+=(x11-utils)
# The pictures of the shipped icon collection (scripts/make-icons-dat.sh).
have_pkg tango-icon-theme || need+=(tango-icon-theme)
# The release downloads (scripts/make-dist.sh) and their check.
have_cmd makensis || need+=(nsis)
have_cmd zip || need+=(zip)
have_cmd unzip || need+=(unzip)
# Signing the downloads (scripts/sign-file.sh), and the check's throwaway
# certificate and its reading of the winget manifest.
have_cmd osslsigncode || need+=(osslsigncode)
have_cmd openssl || need+=(openssl)
have_pkg python3-yaml || need+=(python3-yaml)

[ ${#need[@]} -eq 0 ] && exit 0

echo "Installing: ${need[*]}"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; elif have_cmd sudo; then SUDO="sudo"; else
    echo "Cannot install packages (not root, no sudo). Please install: ${need[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq || true
if ! $SUDO apt-get install -y -qq "${need[@]}" >/tmp/tilerack-apt.log 2>&1; then
    tail -20 /tmp/tilerack-apt.log >&2
    echo "Package installation failed. Please install: ${need[*]}" >&2
    exit 1
fi
