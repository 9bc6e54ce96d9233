#!/usr/bin/env bash
# Regenerates the small BMP fixtures of the embedded-bitmap tests with
# ImageMagick, an independent BMP writer. The pictures follow formulas that the
# tests recompute, so every loaded pixel can be checked exactly:
#   gradient 7x5:  red = 40x, green = 60y, blue = 20(x+y)+5          (35 colours)
#   primaries 5x3: the table PRIMARIES below, components 0 or 255 only (8 colours)
#   pattern 7x5:   black where (x + 2y) mod 5 < 2, white elsewhere
# Components of 0 and 255 survive every depth exactly, so the 16-bit forms use
# the primaries.
set -euo pipefail

CONVERT=/usr/bin/convert   # the real ImageMagick, not a stand-in earlier on PATH
cd "$(dirname "$0")"
src=$(mktemp -d)
trap 'rm -rf "$src"' EXIT

{
    echo "P3 7 5 255"
    for y in 0 1 2 3 4; do
        for x in 0 1 2 3 4 5 6; do echo "$((x * 40)) $((y * 60)) $(((x + y) * 20 + 5))"; done
    done
} >"$src/gradient.ppm"

PRIMARIES=(
    "255 0 0"   "0 255 0"   "0 0 255"   "255 255 255" "0 0 0"
    "255 255 0" "0 255 255" "255 0 255" "0 0 0"       "255 255 255"
    "0 0 0"     "255 0 0"   "255 255 255" "0 0 255"   "0 255 0"
)
{ echo "P3 5 3 255"; printf '%s\n' "${PRIMARIES[@]}"; } >"$src/primaries.ppm"

{
    echo "P1 7 5"
    for y in 0 1 2 3 4; do
        for x in 0 1 2 3 4 5 6; do echo $(( (x + 2 * y) % 5 < 2 ? 1 : 0 )); done
    done
} >"$src/pattern.pbm"

g="$src/gradient.ppm" p="$src/primaries.ppm" b="$src/pattern.pbm"
half_alpha=(-alpha set -channel A -evaluate set 50% +channel)

# Info header (40 bytes), colour table after it.
$CONVERT "$g" BMP3:gradient-info24.bmp
$CONVERT "$g" -type Palette -compress None BMP3:gradient-info8.bmp
$CONVERT "$g" -type Palette -compress RLE BMP3:gradient-rle8.bmp
$CONVERT "$g" "${half_alpha[@]}" -define bmp3:alpha=true BMP3:gradient-info32.bmp
$CONVERT "$p" -type Palette -compress None BMP3:primaries-info4.bmp
$CONVERT "$b" -type Bilevel BMP3:pattern-info1.bmp
# Version 5 header (124 bytes) with the masks inside it. (ImageMagick 6 marks
# 16-bit BMP3 output as bit fields but leaves the masks out, so the 40-byte
# header with masks after it is built by hand in the tests instead.)
$CONVERT "$g" "${half_alpha[@]}" -define bmp:subtype=ARGB32 BMP:gradient-v5-32.bmp
$CONVERT "$p" -define bmp:subtype=RGB565 BMP:primaries-v5-16-565.bmp
$CONVERT "$p" "${half_alpha[@]}" -define bmp:subtype=ARGB4444 BMP:primaries-v5-16-4444.bmp
# Core header (12 bytes), 3-byte colour entries.
$CONVERT "$g" BMP2:gradient-core24.bmp
$CONVERT "$g" -type Palette -compress None BMP2:gradient-core8.bmp
$CONVERT "$p" -type Palette -compress None BMP2:primaries-core4.bmp
$CONVERT "$b" -type Bilevel BMP2:pattern-core1.bmp
