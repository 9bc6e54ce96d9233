#!/usr/bin/env bash
# Makes the README's screenshots again: the panel with the demo list's real
# icons (tools/make_demo_list_win.cpp) over a wallpaper-like desktop, its
# items menu open, once in Russian and once in English, on a private Xvfb
# under openbox with a private Wine prefix (WIN_DIR/screenshots-prefix).
# Nothing of the test world is in the picture: no test windows, no
# stand-in notification area, no tooltip.
#
# Usage: make-screenshots.sh WIN_BUILD_DIR [OUT_DIR (docs)]
set -uo pipefail
if [ $# -lt 1 ] || [ ! -f "$1/tilerack.exe" ] || [ ! -f "$1/make_demo_list.exe" ]; then
    echo "usage: $0 WIN_BUILD_DIR (holding tilerack.exe and make_demo_list.exe) [OUT_DIR]" >&2
    exit 2
fi
WIN_DIR=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT_DIR=${2:-$ROOT/docs}
WORK=$WIN_DIR/screenshots
rm -rf "$WORK"
mkdir -p "$WORK/ru" "$WORK/en" "$OUT_DIR"
for language in ru en; do cp -f "$WIN_DIR/tilerack.exe" "$WIN_DIR/icons.dat" "$WORK/$language/"; done

export WINEPREFIX=$WIN_DIR/screenshots-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINESERVER WINELOADER WINEARCH
. "$ROOT/scripts/wine-prefix.sh"
XVFB_PID=""
WM_PID=""
. "$ROOT/scripts/private-display.sh"
trap stop_private_display EXIT
WIDTH=1024
HEIGHT=640
start_private_display "$WORK/xvfb.log" ${WIDTH}x$HEIGHT || exit 1
start_window_manager "$WORK/openbox.log" || echo "openbox is missing: no window manager" >&2

# A wallpaper: a soft diagonal gradient with a light glow.
/usr/bin/convert -size ${WIDTH}x$HEIGHT gradient:'#6a9fd0'-'#1c3a5e' \
    \( -size ${WIDTH}x$HEIGHT radial-gradient:'#ffffff40'-'#ffffff00' \) -compose over -composite \
    "$WORK/wallpaper.png" && display -window root "$WORK/wallpaper.png"

prepare_wine_prefix "$WORK/prefix.log"
# The demo list, its programs named in each language.
(cd "$WORK/ru" && wine "$WIN_DIR/make_demo_list.exe" shorts.dat) || { echo "no demo list" >&2; exit 1; }
(cd "$WORK/en" && wine "$WIN_DIR/make_demo_list.exe" shorts.dat en) || { echo "no demo list" >&2; exit 1; }

# The stand-in notification area Wine shows without a real one: out of the picture.
hide_tray_window() {
    local w
    for w in $(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null); do
        xdotool windowunmap "$w" 2>/dev/null
    done
}

# shoot LANGUAGE FILE: the panel speaking LANGUAGE with its items menu open.
shoot() {
    local language=$1 file=$2 panel_pid
    printf '[Keelstrip]\r\nLanguage=%s\r\n' "$language" >"$WINEPREFIX/drive_c/windows/tilerack.INI"
    xdotool mousemove 30 320
    (cd "$WORK/$language" && exec wine ./tilerack.exe) &
    panel_pid=$!
    for _ in $(seq 300); do
        xdotool search --onlyvisible --classname tilerack.exe >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 3
    hide_tray_window
    # The menu button, near the strip's bottom, shows once the pointer comes
    # near it; a click opens the items menu, and the pointer then rests on
    # the desktop, where it lights no entry and shows no hint.
    xdotool mousemove 44 $((HEIGHT - 60)) sleep 0.3 mousemove 44 $((HEIGHT - 18))
    sleep 1
    [ -n "${SHOW_STEPS:-}" ] && /usr/bin/import -window root "$file.before.png"
    xdotool click 1
    sleep 1
    xdotool mousemove $((WIDTH / 2)) $((HEIGHT / 2))
    sleep 1
    /usr/bin/import -window root "$file"
    xdotool key Escape
    wineserver -k >/dev/null 2>&1
    wait "$panel_pid" 2>/dev/null
}

shoot ru "$OUT_DIR/screenshot.png"
shoot en "$OUT_DIR/screenshot-en.png"
echo "Screenshots: $OUT_DIR/screenshot.png $OUT_DIR/screenshot-en.png"
