#!/usr/bin/env bash
# `make run`: starts the panel under Wine from WIN_DIR/run (its shorts.dat
# lives there) with its own Wine prefix WIN_DIR/run-prefix, never ~/.wine.
# A run folder without a list gets a small demo list (tools/make_demo_list_win.cpp).
# With a working display the panel runs in the foreground until it is closed.
# Without one it runs for a few seconds on a private Xvfb display under
# openbox, as on a desktop, and leaves a screenshot in WIN_DIR/run/screenshot.png.
#
# Usage: run-panel.sh WIN_BUILD_DIR
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1/tilerack.exe" ]; then
    echo "usage: $0 WIN_BUILD_DIR (holding tilerack.exe)" >&2
    exit 2
fi
WIN_DIR=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUN_DIR=$WIN_DIR/run
mkdir -p "$RUN_DIR"
cp -f "$WIN_DIR/tilerack.exe" "$RUN_DIR/tilerack.exe"
[ -f "$WIN_DIR/icons.dat" ] && cp -f "$WIN_DIR/icons.dat" "$RUN_DIR/icons.dat"

export WINEPREFIX=$WIN_DIR/run-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINESERVER WINELOADER WINEARCH

. "$ROOT/scripts/wine-prefix.sh"
prepare_prefix() {
    prepare_wine_prefix "$WIN_DIR/run-prefix.log"
    if [ ! -f "$RUN_DIR/shorts.dat" ] && [ -f "$WIN_DIR/make_demo_list.exe" ]; then
        (cd "$RUN_DIR" && wine "$WIN_DIR/make_demo_list.exe" shorts.dat) || echo "No demo list could be made" >&2
    fi
}

display_works() {
    [ -n "${DISPLAY:-}" ] || return 1
    if command -v xdpyinfo >/dev/null 2>&1; then
        xdpyinfo >/dev/null 2>&1
    else
        xset q >/dev/null 2>&1
    fi
}

cd "$RUN_DIR" || exit 1

if display_works; then
    prepare_prefix
    echo "Running the panel on $DISPLAY from $RUN_DIR (close it from its menu or its close button)"
    wine ./tilerack.exe
    exit $?
fi

# --- No display: a private Xvfb, a short run and a screenshot -------------------
XVFB_PID=""
WM_PID=""
. "$ROOT/scripts/private-display.sh"
trap stop_private_display EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_private_display "$RUN_DIR/xvfb.log" || exit 1
if start_window_manager "$RUN_DIR/openbox.log"; then
    echo "No display: running the panel on a private Xvfb ($DISPLAY) under openbox for a few seconds"
else
    echo "No display: running the panel on a private Xvfb ($DISPLAY), bare (openbox is missing), for a few seconds"
fi
prepare_prefix
# Near the left edge, so the panel stays out and shows itself.
xdotool mousemove 70 384 2>/dev/null

wine ./tilerack.exe &
for _ in $(seq 300); do
    xdotool search --onlyvisible --classname tilerack.exe >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 5

SHOT=$RUN_DIR/screenshot.png
if [ -x /usr/bin/import ] && /usr/bin/import -window root "$SHOT" 2>/dev/null; then
    :
elif command -v xwd >/dev/null && [ -x /usr/bin/convert ]; then
    xwd -root -silent | /usr/bin/convert xwd:- "$SHOT"
fi
if [ -s "$SHOT" ]; then
    echo "Screenshot: $SHOT"
else
    echo "No screenshot could be taken" >&2
    exit 1
fi
