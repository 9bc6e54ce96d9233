#!/usr/bin/env bash
# Runs the Windows-side benchmarks of a Windows build folder under Wine on a
# private Xvfb display with a private prefix (WIN_DIR/bench-prefix); stops
# only what it started.
#
# Usage: run-win-bench.sh WIN_BUILD_DIR
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1/picker_fill_bench.exe" ]; then
    echo "usage: $0 WIN_BUILD_DIR (holding picker_fill_bench.exe)" >&2
    exit 2
fi
WIN_DIR=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "$0")/.." && pwd)

export WINEPREFIX=$WIN_DIR/bench-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINESERVER WINELOADER WINEARCH

XVFB_PID=""
cleanup() {
    [ -d "$WINEPREFIX" ] && { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

. "$ROOT/scripts/private-display.sh"
start_private_display "$WIN_DIR/bench-xvfb.log" || exit 1
. "$ROOT/scripts/wine-prefix.sh"
prepare_wine_prefix "$WIN_DIR/bench-prefix.log"

echo "== picker_fill_bench (under Wine)"
timeout 600 wine "$WIN_DIR/picker_fill_bench.exe" 5
