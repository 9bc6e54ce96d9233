#!/usr/bin/env bash
# The end-to-end suite (tests/e2e/run-e2e.sh, its two-screen pass included)
# on a second runtime: Debian 13's Wine 10, in a Debian 13 root kept in
# WINE10_DIR/root (made once by scripts/wine10-root.sh). Wrappers named wine,
# wineserver and wineboot, first on PATH, run Wine there through chroot; the
# source and build folders are bind-mounted at their own paths, with the
# kernel's file systems and the X sockets. Its prefix, scratch folders and results are in
# WINE10_DIR/e2e, so this runtime keeps a Wine prefix of its own. On exit,
# also after a failure or Ctrl-C, it ends the processes still running in the
# root and unmounts everything it mounted.
#
# Usage: run-wine10-tests.sh WINE10_DIR WIN_BUILD_DIR [gtest arguments...]
# Ends with run-e2e.sh's line "e2e: N passed, N failed".
set -uo pipefail

if [ $# -lt 2 ] || [ ! -d "$2" ]; then
    echo "usage: $0 WINE10_DIR WIN_BUILD_DIR [gtest arguments...]" >&2
    exit 2
fi
SOURCE=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
HERE=$(cd "$1" && pwd)
WIN_BUILD=$(cd "$2" && pwd)
shift 2
ROOTFS=$HERE/root

"$SOURCE/scripts/wine10-root.sh" "$ROOTFS" || { echo "e2e: 0 passed, 1 failed"; exit 1; }

MOUNTED=()
in_root_processes() {
    local entry pid
    for entry in /proc/[0-9]*; do
        pid=${entry#/proc/}
        [ "$(readlink "$entry/root" 2>/dev/null)" = "$ROOTFS" ] && echo "$pid"
    done
}
cleanup() {
    local pids i
    pids=$(in_root_processes)
    if [ -n "$pids" ]; then
        # shellcheck disable=SC2086
        kill $pids 2>/dev/null
        sleep 1
        pids=$(in_root_processes)
        # shellcheck disable=SC2086
        [ -n "$pids" ] && kill -9 $pids 2>/dev/null
    fi
    for ((i=${#MOUNTED[@]}-1; i>=0; i--)); do
        umount -R "${MOUNTED[$i]}" 2>/dev/null || umount -R -l "${MOUNTED[$i]}" 2>/dev/null
    done
    MOUNTED=()
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# bind FOLDER [--rbind]: the folder at its own path inside the root (with
# the mounts under it for --rbind, which then never reach back outside).
bind() {
    local target=$ROOTFS$1
    mkdir -p "$target"
    mountpoint -q "$target" && return 0
    mount "${2:---bind}" "$1" "$target" || return 1
    MOUNTED+=("$target")
    [ "${2:-}" != --rbind ] || mount --make-rslave "$target"
}
fail_mount() { echo "run-wine10: cannot mount $1 in $ROOTFS" >&2; echo "e2e: 0 passed, 1 failed"; exit 1; }
for place in /proc /sys /dev; do bind "$place" --rbind || fail_mount "$place"; done
mkdir -p /tmp/.X11-unix
bind /tmp/.X11-unix || fail_mount /tmp/.X11-unix
bind "$SOURCE" || fail_mount "$SOURCE"
BUILD_PARENT=$(dirname "$WIN_BUILD")
case $BUILD_PARENT/ in "$SOURCE"/*) ;; *) bind "$BUILD_PARENT" || fail_mount "$BUILD_PARENT" ;; esac

# The wrappers. Wine 10 aborts ("free(): invalid pointer") when TMPDIR is set.
BIN=$HERE/bin
mkdir -p "$BIN"
for tool in wine wineserver wineboot; do
    cat >"$BIN/$tool" <<WRAPPER
#!/bin/sh
# Debian 13's $tool in $ROOTFS (made by scripts/run-wine10-tests.sh).
exec chroot "$ROOTFS" /bin/sh -c 'cd "\$1" 2>/dev/null || cd /; shift; unset TMPDIR
PATH=/usr/local/bin:/usr/bin:/bin; exec "\$@"' sh "\$PWD" /usr/bin/$tool "\$@"
WRAPPER
    chmod +x "$BIN/$tool"
done
export PATH=$BIN:$PATH
export E2E_WINE_ROOT=$ROOTFS
echo "run-wine10: $(wine --version 2>/dev/null) in $ROOTFS"

# This runtime's own prefix, scratch folders and results.
E2E_OUTPUT=$HERE/e2e "$SOURCE/tests/e2e/run-e2e.sh" "$WIN_BUILD" "$@"
