#!/usr/bin/env bash
# The end-to-end scenarios on two screens (Screens.*): a pass of its own,
# since Wine reads the screens once, when its desktop starts. Its own Xvfb
# as wide as both screens, openbox, a bar with a strut at the bottom of the
# primary, stand-ins for libXrandr and libXinerama that report the two heads
# (Xvfb's XRandR has one output), a Wine prefix of its own that takes its
# screens from XRandR (UseXRandR=Y), and its own wineserver. Ends only what
# it started, also after a failure.
#
# Usage: run-screens-e2e.sh WIN_BUILD_DIR [gtest arguments...]
# Writes its results to WIN_BUILD_DIR/e2e/screens/e2e-results.xml (E2E_OUTPUT
# in place of WIN_BUILD_DIR/e2e when set).
#
# The layout: the primary 800 x 600 at 0,0, a second screen 640 x 480 at its
# right, and a 40-pixel bar at the bottom of the primary. With
# E2E_SCREENS_LAYOUT=stacked (ScreensStacked.*): the primary 800 x 600 and a
# second screen of the same size below it, with no bar.
set -uo pipefail

if [ $# -lt 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 WIN_BUILD_DIR [gtest arguments...]" >&2
    exit 2
fi
WIN_DIR=$(cd "$1" && pwd)
shift
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
if [ "${E2E_SCREENS_LAYOUT:-}" = stacked ]; then
    PASS_DIR=${E2E_OUTPUT:-$WIN_DIR/e2e}/screens-stacked
    export TILERACK_XINERAMA_HEADS="800x600+0+0,800x600+0+600"
    BAR_GEOMETRY=""
    ROOT_SIZE=800x1200
    WORK_AREA="0, 0, 800, 1200"
    SCENARIOS="ScreensStacked.*"
else
    PASS_DIR=${E2E_OUTPUT:-$WIN_DIR/e2e}/screens
    export TILERACK_XINERAMA_HEADS="800x600+0+0,640x480+800+0"
    BAR_GEOMETRY="0 560 800 40"
    ROOT_SIZE=1440x600
    WORK_AREA="0, 0, 1440, 560"
    SCENARIOS="Screens.*"
fi
mkdir -p "$PASS_DIR/bin"

# The native helpers, built here with the system's compiler.
if ! gcc -shared -fPIC -O2 -o "$PASS_DIR/bin/libXinerama.so.1" "$ROOT/tests/e2e/screens/xinerama_heads.c" ||
    ! gcc -shared -fPIC -O2 -o "$PASS_DIR/bin/libXrandr.so.2" "$ROOT/tests/e2e/screens/xrandr_heads.c" -ldl ||
    ! gcc -O2 -o "$PASS_DIR/bin/strut_bar" "$ROOT/tests/e2e/screens/strut_bar.c" -lX11; then
    echo "run-screens-e2e: the X helpers did not build (gcc, libx11-dev, libxinerama-dev, libxrandr-dev)" >&2
    exit 1
fi

export WINEPREFIX=$PASS_DIR/prefix
export WINEDEBUG=${E2E_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINESERVER WINELOADER WINEARCH

XVFB_PID=""
WM_PID=""
BAR_PID=""
TEST_PID=""
. "$ROOT/scripts/private-display.sh"
cleanup() {
    [ -n "$TEST_PID" ] && kill "$TEST_PID" 2>/dev/null
    [ -n "$BAR_PID" ] && kill "$BAR_PID" 2>/dev/null
    stop_private_display
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

[ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1

start_private_display "$PASS_DIR/xvfb.log" "$ROOT_SIZE" || exit 1
if ! start_window_manager "$PASS_DIR/openbox.log"; then
    echo "run-screens-e2e: openbox did not start" >&2
    exit 1
fi
# The bar before any Wine process: Wine reads the work area as its desktop starts.
if [ -n "$BAR_GEOMETRY" ]; then
    "$PASS_DIR/bin/strut_bar" $BAR_GEOMETRY &
    BAR_PID=$!
fi
for _ in $(seq 50); do
    xprop -root _NET_WORKAREA 2>/dev/null | grep -q "= $WORK_AREA" && break
    sleep 0.1
done

# Wine's X11 driver loads the stand-ins from here.
export LD_LIBRARY_PATH=$PASS_DIR/bin${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
. "$ROOT/scripts/wine-prefix.sh"
prepare_wine_prefix "$PASS_DIR/wineboot.log"
# Wine takes the screens' places from XRandR's CRTCs (Wine 10 only from
# there: from Xinerama alone it gives every screen the primary's rectangle).
if ! grep -q '"UseXRandR"="Y"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d Y /f >/dev/null 2>&1
    wineserver -w
fi
# A desktop started before the value or the bar would keep the old screens.
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1

winpath() { printf 'Z:%s' "${1//\//\\}"; }
rm -rf "$PASS_DIR/scratch" "$PASS_DIR/screenshots" "$PASS_DIR/e2e-results.xml"
mkdir -p "$PASS_DIR/scratch" "$PASS_DIR/screenshots"
export TILERACK_EXE PROBE_EXE E2E_SCRATCH E2E_SCREENSHOTS X11_HELPERS E2E_WINDOW_MANAGER=openbox
TILERACK_EXE=$(winpath "$WIN_DIR/tilerack.exe")
PROBE_EXE=$(winpath "$WIN_DIR/probe.exe")
E2E_SCRATCH=$(winpath "$PASS_DIR/scratch")
E2E_SCREENSHOTS=$(winpath "$PASS_DIR/screenshots")
X11_HELPERS=$ROOT/tests/e2e/x11
# The scenarios learn the layout from here (and check it against Wine's).
export E2E_SCREENS=$TILERACK_XINERAMA_HEADS E2E_BAR=$BAR_GEOMETRY

echo "run-screens-e2e: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX screens $TILERACK_XINERAMA_HEADS"
timeout --kill-after=30 "${E2E_TIMEOUT:-900}" \
    wine "$WIN_DIR/e2e_tests.exe" --gtest_color=no \
    "--gtest_output=xml:$(winpath "$PASS_DIR/e2e-results.xml")" "--gtest_filter=$SCENARIOS" "$@" &
TEST_PID=$!
wait "$TEST_PID"
STATUS=$?
TEST_PID=""
[ $STATUS -eq 124 ] && echo "run-screens-e2e: the test program timed out" >&2
echo "run-screens-e2e: screenshots in $PASS_DIR/screenshots"
exit $STATUS
