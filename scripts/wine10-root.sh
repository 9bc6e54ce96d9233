#!/usr/bin/env bash
# Makes ROOT, a Debian 13 system holding Wine 10 and the few Unix tools the
# end-to-end scenarios start from inside Wine (the drag source, the X
# helpers), once: debootstrap from deb.debian.org, then the packages through
# apt inside it. Each stage leaves a mark; a stage cut short is done again, a
# finished root is kept as it is. Needs root (debootstrap, chroot).
# Usage: scripts/wine10-root.sh ROOT
set -euo pipefail
root=$(realpath -m "${1:?usage: wine10-root.sh ROOT}")
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
packages="wine wine64 libwine fonts-wine fonts-liberation python3-gi gir1.2-gtk-3.0 xdotool x11-utils"
base_mark=$root/.tilerack-base-done
packages_mark=$root/.tilerack-packages

[ -f "$packages_mark" ] && [ "$(cat "$packages_mark")" = "$packages" ] && exit 0
[ "$(id -u)" -eq 0 ] || { echo "Making the Wine 10 root needs root (debootstrap, chroot)." >&2; exit 1; }
command -v debootstrap >/dev/null 2>&1 || {
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null; }

log="$(dirname "$root")/root-making.log"
mounted=()
cleanup() {
    local i
    for ((i=${#mounted[@]}-1; i>=0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
# Never delete through a mount left by a run that was killed outright.
if findmnt -rn -o TARGET | grep -q "^$root/"; then
    echo "Something is still mounted under $root; unmount it first:" >&2
    findmnt -rn -o TARGET | grep "^$root/" >&2
    exit 1
fi

if [ ! -f "$base_mark" ]; then
    echo "Making the Debian 13 root in $root (once; about 10 minutes; log: $log)"
    rm -rf "$root"
    mkdir -p "$root"
    debootstrap --variant=minbase trixie "$root" "$mirror" >"$log" 2>&1 || {
        tail -20 "$log" >&2; echo "debootstrap failed" >&2; exit 1; }
    echo "deb $mirror trixie main" >"$root/etc/apt/sources.list"
    touch "$base_mark"
fi
echo "Installing Wine 10 and the scenarios' tools into $root"
for m in proc sys dev; do mount --bind "/$m" "$root/$m"; mounted+=("$root/$m"); done
in_root() { chroot "$root" env -u TMPDIR DEBIAN_FRONTEND=noninteractive "$@"; }
{
    in_root apt-get update -qq &&
    # shellcheck disable=SC2086
    in_root apt-get install -y -qq --no-install-recommends $packages &&
    in_root apt-get clean
} >>"$log" 2>&1 || { tail -20 "$log" >&2; echo "Installing into the root failed" >&2; exit 1; }
printf '%s\n' "$packages" >"$packages_mark"
echo "Debian 13 root ready: $(in_root wine --version 2>/dev/null)"
