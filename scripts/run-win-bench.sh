#!/usr/bin/env bash
# Runs the Windows-side benchmarks of a Windows build folder under Wine on a
# private 1920 x 1080 Xvfb display under openbox (a desktop always has a
# window manager; without one Wine waits about 2 s whenever a window is
# destroyed) with a private prefix (WIN_DIR/bench-prefix); stops only what it
# started.
#
# Usage: run-win-bench.sh WIN_BUILD_DIR
#   BENCH_RUNS (7): start-up runs per item count; BENCH_IDLE_SECONDS (60)
#   BENCH_ONLY: one section of startup_bench, or show4k for the show sequence
#   on a 3840 x 2160 screen at 192 DPI alone (run last, on a display of that
#   size)
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1/startup_bench.exe" ]; then
    echo "usage: $0 WIN_BUILD_DIR (holding startup_bench.exe)" >&2
    exit 2
fi
WIN_DIR=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)

export WINEPREFIX=$WIN_DIR/bench-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINESERVER WINELOADER WINEARCH

XVFB_PID=""
WM_PID=""
. "$ROOT/scripts/private-display.sh"
trap stop_private_display EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_private_display "$WIN_DIR/bench-xvfb.log" 1920x1080 || exit 1
if ! start_window_manager "$WIN_DIR/bench-openbox.log"; then
    echo "openbox is missing: closing figures include Wine's 2-s wait for a window manager" >&2
fi
. "$ROOT/scripts/wine-prefix.sh"
prepare_wine_prefix "$WIN_DIR/bench-prefix.log"

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(wine --version)"
if [ "${BENCH_ONLY:-}" != show4k ]; then
    echo "== picker_fill_bench (under Wine)"
    timeout 600 wine "$WIN_DIR/picker_fill_bench.exe" 5
    echo "== folder_menu_bench (under Wine)"
    timeout 600 wine "$WIN_DIR/folder_menu_bench.exe" 9
    echo "== show_sequence_bench (under Wine)"
    timeout 600 wine "$WIN_DIR/show_sequence_bench.exe" 21
    echo "== startup_bench (under Wine; the pointer is moved to the screen's centre)"
    timeout 1800 wine "$WIN_DIR/startup_bench.exe" --runs "${BENCH_RUNS:-7}" --idle-seconds "${BENCH_IDLE_SECONDS:-60}" ${BENCH_ONLY:+--only "$BENCH_ONLY"}
fi

if [ -z "${BENCH_ONLY:-}" ] || [ "$BENCH_ONLY" = show4k ]; then
    # A 4K screen at 200 %: a display of its own, the scale as Wine reads it.
    stop_private_display
    start_private_display "$WIN_DIR/bench-xvfb-4k.log" 3840x2160 || exit 1
    start_window_manager "$WIN_DIR/bench-openbox-4k.log" || true
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
    echo "== show_sequence_bench --strip-4k (under Wine, 3840 x 2160 at 192 DPI)"
    timeout 600 wine "$WIN_DIR/show_sequence_bench.exe" --strip-4k 21
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
fi
