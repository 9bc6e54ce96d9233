#!/usr/bin/env bash
# Runs the Windows end-to-end tests (e2e_tests.exe driving the real
# tilerack.exe) under Wine on a private Xvfb display, run by openbox as on a
# desktop, with a private Wine prefix inside the build folder. Never uses the
# caller's DISPLAY or ~/.wine; on exit, also after a failure or Ctrl-C, it
# stops only what it started: the Wine processes of its own prefix, its
# openbox and its own Xvfb.
#
# Usage: run-e2e.sh WIN_BUILD_DIR [gtest arguments...]
# Environment: E2E_TIMEOUT (seconds for the whole test program, default 1800);
# E2E_WINDOW_MANAGER: openbox (the default) or none (a bare X server);
# E2E_OUTPUT: the folder of the prefix, scratch and results (default
# WIN_BUILD_DIR/e2e; another runtime keeps its own).
set -uo pipefail

if [ $# -lt 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 WIN_BUILD_DIR [gtest arguments...]" >&2
    exit 2
fi
WIN_DIR=$(cd "$1" && pwd)
E2E_WINDOW_MANAGER=${E2E_WINDOW_MANAGER:-openbox}
case $E2E_WINDOW_MANAGER in
    openbox | none) ;;
    *)
        echo "run-e2e: E2E_WINDOW_MANAGER is openbox or none, not $E2E_WINDOW_MANAGER" >&2
        exit 2
        ;;
esac
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
shift
E2E_DIR=${E2E_OUTPUT:-$WIN_DIR/e2e}
mkdir -p "$E2E_DIR"

for exe in e2e_tests.exe tilerack.exe probe.exe; do
    if [ ! -f "$WIN_DIR/$exe" ]; then
        echo "run-e2e: $WIN_DIR/$exe is missing; build the Windows tree first" >&2
        echo "e2e: 0 passed, 1 failed"
        exit 1
    fi
done

# One run per build folder at a time: the prefix and the scratch folders are shared.
exec 9>"$E2E_DIR/.lock"
if ! flock -w 900 9; then
    echo "run-e2e: another run holds $E2E_DIR/.lock" >&2
    exit 1
fi

export WINEPREFIX=$E2E_DIR/prefix
export WINEDEBUG=${E2E_WINEDEBUG:--all}  # a Wine debug channel list for a look inside
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINESERVER WINELOADER WINEARCH

XVFB_PID=""
TEST_PID=""
SMALL_DISK=$E2E_DIR/small-disk
IMMUTABLE=$E2E_DIR/immutable
# Where Wine runs in a chroot (E2E_WINE_ROOT, scripts/run-wine10-tests.sh), it
# sees this folder through a bind mount, which does not carry mounts made
# after it: the small disk is mounted there too.
SMALL_DISK_IN_ROOT=${E2E_WINE_ROOT:+$E2E_WINE_ROOT$SMALL_DISK}
release_hostile_places() {
    [ -n "$SMALL_DISK_IN_ROOT" ] && mountpoint -q "$SMALL_DISK_IN_ROOT" 2>/dev/null &&
        umount "$SMALL_DISK_IN_ROOT" 2>/dev/null
    mountpoint -q "$SMALL_DISK" 2>/dev/null && umount "$SMALL_DISK" 2>/dev/null
    [ -d "$IMMUTABLE" ] && chattr -i "$IMMUTABLE" 2>/dev/null
    rm -rf "$IMMUTABLE"
}
WM_PID=""
# Private display; Xvfb picks a free number itself.
. "$ROOT/scripts/private-display.sh"
cleanup() {
    release_hostile_places
    [ -n "$TEST_PID" ] && kill "$TEST_PID" 2>/dev/null
    # Everything Wine started for this run lives in the private prefix.
    stop_private_display
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Leftovers of an interrupted earlier run in this same private prefix.
[ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1

start_private_display "$E2E_DIR/xvfb.log" || exit 1
# Under a light window manager, as on any desktop: without one Wine waits
# about 2 s whenever a managed window leaves the screen (the panel sliding
# out) or is destroyed. The tests learn which one runs from
# E2E_WINDOW_MANAGER ("openbox" or "none").
export E2E_WINDOW_MANAGER
if [ "$E2E_WINDOW_MANAGER" = openbox ] && ! start_window_manager "$E2E_DIR/openbox.log"; then
    echo "run-e2e: openbox is not installed or did not start: running on a bare X server" \
        "(each panel slide-out then waits about 2 s)" >&2
    E2E_WINDOW_MANAGER=none
fi

. "$ROOT/scripts/wine-prefix.sh"
prepare_wine_prefix "$E2E_DIR/wineboot.log"

# Windows paths of Unix paths through Wine's Z: drive.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Hostile places for the save scenarios, where this machine allows them (as
# root): a file system of 2 MB to fill, and a folder nothing can be added to
# or renamed in (root ignores permissions, not the immutable attribute).
release_hostile_places
export E2E_SMALL_DISK E2E_IMMUTABLE_FOLDER
mkdir -p "$SMALL_DISK"
if mount -t tmpfs -o size=2m tmpfs "$SMALL_DISK" 2>/dev/null &&
    { [ -z "$SMALL_DISK_IN_ROOT" ] || mount --bind "$SMALL_DISK" "$SMALL_DISK_IN_ROOT"; }; then
    E2E_SMALL_DISK=$(winpath "$SMALL_DISK")
fi
mkdir -p "$IMMUTABLE"
cp "$WIN_DIR/tilerack.exe" "$IMMUTABLE/tilerack.exe"
printf '\0\0\0\0' >"$IMMUTABLE/shorts.dat"   # an empty list
if chattr +i "$IMMUTABLE" 2>/dev/null; then
    E2E_IMMUTABLE_FOLDER=$(winpath "$IMMUTABLE")
fi

rm -rf "$E2E_DIR/scratch" "$E2E_DIR/screenshots" "$E2E_DIR/e2e-results.xml"
mkdir -p "$E2E_DIR/scratch" "$E2E_DIR/screenshots"
export TILERACK_EXE PROBE_EXE E2E_SCRATCH E2E_SCREENSHOTS
TILERACK_EXE=$(winpath "$WIN_DIR/tilerack.exe")
PROBE_EXE=$(winpath "$WIN_DIR/probe.exe")
E2E_SCRATCH=$(winpath "$E2E_DIR/scratch")
E2E_SCREENSHOTS=$(winpath "$E2E_DIR/screenshots")
# The Linux drag source the drop scenarios start (a Unix path: it runs outside Wine).
export DRAG_SOURCE=$ROOT/tests/e2e/drag/drag_source.py
# Helpers that use the X server itself (its pointer, where it shows windows).
export X11_HELPERS=$ROOT/tests/e2e/x11

# The long on-demand scenarios (kills, soak) run only when asked for by name;
# the two-screen scenarios run in a pass of their own (run-screens-e2e.sh),
# after this one, when no filter is given or the filter names them.
SCREENS_PASS=yes
case " $* " in
    *--gtest_filter=*Screens*) ;;
    *--gtest_filter=*) SCREENS_PASS=no ;;
    *) set -- "$@" "--gtest_filter=-OnDemand*:Screens.*:ScreensStacked.*" ;;
esac

. "$ROOT/tests/e2e/scale-passes.sh"
FILTER="*"
TEST_ARGS=()
for arg in "$@"; do
    case $arg in --gtest_filter=*) FILTER=${arg#--gtest_filter=} ;; *) TEST_ARGS+=("$arg") ;; esac
done

# run_pass RESULTS FILTER: the test program over the scenarios FILTER
# selects; its status in STATUS (kept when an earlier pass failed).
run_pass() {
    # In the background and waited for, so that Ctrl-C reaches the traps at once.
    timeout --kill-after=30 "${E2E_TIMEOUT:-1800}" \
        wine "$WIN_DIR/e2e_tests.exe" --gtest_color=no \
        "--gtest_output=xml:$(winpath "$1")" "${TEST_ARGS[@]}" "--gtest_filter=$2" &
    TEST_PID=$!
    wait "$TEST_PID"
    local status=$?
    TEST_PID=""
    [ $status -eq 124 ] && echo "run-e2e: the test program timed out" >&2
    [ "${STATUS:-0}" -eq 0 ] && STATUS=$status
}

echo "run-e2e: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX window manager: $E2E_WINDOW_MANAGER"
forget_session_scale
run_pass "$E2E_DIR/e2e-results.xml" "$(without_scaled "$FILTER")"
SCALE_RESULTS=()
MISSING=0
for dpi in $SCALES; do
    names=$(scaled_in "$FILTER" "$dpi")
    [ -n "$names" ] || continue
    echo "run-e2e: the scenarios at $dpi DPI, in a Wine session started at that scale"
    set_session_scale "$dpi"
    rm -f "$E2E_DIR/e2e-results-$dpi.xml"
    E2E_SESSION_DPI=$dpi run_pass "$E2E_DIR/e2e-results-$dpi.xml" "$names"
    if [ -s "$E2E_DIR/e2e-results-$dpi.xml" ]; then
        SCALE_RESULTS+=("$E2E_DIR/e2e-results-$dpi.xml")
    else
        echo "run-e2e: the pass at $dpi DPI gave no results" >&2
        MISSING=$((MISSING + 1))
    fi
done
[ ${#SCALE_RESULTS[@]} -eq 0 ] || set_session_scale ""

# Screenshots are written uncompressed; shrink them when ImageMagick is there.
if [ -x /usr/bin/convert ]; then
    for png in "$E2E_DIR"/screenshots/*.png; do
        [ -f "$png" ] || continue
        /usr/bin/convert "$png" "$png.tmp.png" 2>/dev/null && mv -f "$png.tmp.png" "$png"
        rm -f "$png.tmp.png"
    done
fi
echo "run-e2e: screenshots in $E2E_DIR/screenshots"

RESULTS=$E2E_DIR/e2e-results.xml
SCREENS_RESULTS=$E2E_DIR/screens/e2e-results.xml
STACKED_RESULTS=$E2E_DIR/screens-stacked/e2e-results.xml
rm -f "$SCREENS_RESULTS" "$STACKED_RESULTS"
if [ "$SCREENS_PASS" = yes ]; then
    # Its arguments are this run's but for the filter: each pass runs its
    # own scenarios alone (Screens.*, then ScreensStacked.*).
    for layout in side stacked; do
        results=$SCREENS_RESULTS
        [ $layout = stacked ] && results=$STACKED_RESULTS
        E2E_SCREENS_LAYOUT=$layout "$ROOT/tests/e2e/run-screens-e2e.sh" "$WIN_DIR" "${TEST_ARGS[@]}"
        SCREENS_STATUS=$?
        if [ ! -s "$results" ]; then
            echo "run-e2e: the two-screen pass ($layout) gave no results (exit status $SCREENS_STATUS)" >&2
            MISSING=$((MISSING + 1))
        fi
        [ $STATUS -eq 0 ] && STATUS=$SCREENS_STATUS
    done
fi
if [ ! -s "$RESULTS" ]; then
    echo "run-e2e: no test results (exit status $STATUS)" >&2
    echo "e2e: 0 passed, 1 failed"
    [ $STATUS -eq 0 ] && STATUS=1
    exit $STATUS
fi
# One <testcase> per test; a failed one holds <failure> elements, a skipped
# one carries result="skipped". A pass that gave no results counts as a failure.
awk -v missing="$MISSING" '
    /<testcase / {
        inCase = 1; failed = 0
        run = ($0 ~ /status="run"/); skipped = ($0 ~ /result="skipped"/)
        if ($0 ~ /\/>[[:space:]]*$/) { inCase = 0; count() }
        next
    }
    inCase && /<failure/ { failed = 1 }
    inCase && /<\/testcase>/ { inCase = 0; count() }
    function count() {
        if (!run) return
        if (skipped && !failed) nSkipped++
        else if (failed) nFailed++
        else nPassed++
    }
    END {
        nFailed += missing
        line = sprintf("e2e: %d passed, %d failed", nPassed, nFailed)
        if (nSkipped > 0) line = line sprintf(", %d skipped", nSkipped)
        print line
    }' "$RESULTS" $( [ -s "$SCREENS_RESULTS" ] && echo "$SCREENS_RESULTS") \
    $( [ -s "$STACKED_RESULTS" ] && echo "$STACKED_RESULTS") "${SCALE_RESULTS[@]}"
exit $STATUS
