#!/usr/bin/env bash
# Makes res/icons/icons.dat, the icon collection shipped beside tilerack.exe,
# from the 32x32 pictures of Debian's public-domain Tango icon theme
# (package tango-icon-theme; licence in res/icons/LICENSE-tango.txt).
# ImageMagick only decodes each PNG to raw RGBA; the program's own image
# writer makes the file (tools/make_icons_dat.cpp, built natively).
#
# The order is fixed: programs, categories, places, devices, documents,
# states, actions, each by name; the last picture is document-new, the one the
# picker's "Новый" entry shows.
#
#   scripts/make-icons-dat.sh [NATIVE_BUILD_DIR] [OUTPUT]
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
output=${2:-$root/res/icons/icons.dat}
theme=/usr/share/icons/Tango/32x32
last=actions/document-new.png

if [ ! -d "$theme" ]; then
    echo "$theme is missing: apt-get install tango-icon-theme" >&2
    exit 1
fi
[ -x /usr/bin/convert ] || { echo "ImageMagick's convert is missing: apt-get install imagemagick" >&2; exit 1; }

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target make_icons_dat >/dev/null

pictures=()
for group in apps categories places devices mimetypes status actions; do
    # Regular files only: the theme's symbolic links repeat pictures under other names.
    while IFS= read -r name; do
        [ "$group/$name" = "$last" ] || pictures+=("$group/$name")
    done < <(find "$theme/$group" -maxdepth 1 -type f -name '*.png' -printf '%f\n' | sort)
done
pictures+=("$last")

raw=$(mktemp)
trap 'rm -f "$raw"' EXIT
for picture in "${pictures[@]}"; do
    # Exactly 32 x 32, centred on a transparent canvas should a picture differ.
    /usr/bin/convert "$theme/$picture" -background none -gravity center -extent 32x32 -depth 8 rgba:- >>"$raw"
done
mkdir -p "$(dirname "$output")"
"$build/make_icons_dat" "$output" <"$raw"
