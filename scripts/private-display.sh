# Sourced by the scripts that run the panel under Wine without touching the
# user's display. start_private_display LOG_FILE starts an Xvfb that picks a
# free display number itself, sets XVFB_PID, exports DISPLAY and paints the
# root a known plain colour. The caller's cleanup kills $XVFB_PID. An optional
# second argument gives the screen size (default 1024x768).
#
# stop_private_display ends what they started: every Wine process of
# $WINEPREFIX, the window manager and the Xvfb (for a cleanup trap).
#
# start_window_manager LOG_FILE then runs openbox on that display, as a
# desktop always has a window manager (without one Wine waits about 2 s
# whenever a managed window leaves the screen or is destroyed), with the
# project's own settings (scripts/openbox-rc.xml), and waits until it manages
# the screen. Sets WM_PID, which the caller's cleanup kills; returns 1 with
# WM_PID empty where openbox is missing or does not come up.
PRIVATE_DISPLAY_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

start_private_display() {
    local log=$1 size=${2:-1024x768} number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 ${size}x24 -nolisten tcp -noreset 3>"$number_file" 2>"$log" &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$number_file" ] && break
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start:" >&2
            cat "$log" >&2
            XVFB_PID=""
            rm -f "$number_file"
            return 1
        fi
        sleep 0.1
    done
    if [ ! -s "$number_file" ]; then
        echo "Xvfb gave no display number" >&2
        rm -f "$number_file"
        return 1
    fi
    export DISPLAY=":$(head -n1 "$number_file")"
    rm -f "$number_file"
    unset XAUTHORITY WAYLAND_DISPLAY
    # A plain, known desktop colour makes the panel's translucent background testable.
    xsetroot -solid '#3a6ea5' 2>/dev/null
    return 0
}

start_window_manager() {
    local log=$1
    WM_PID=""
    command -v openbox >/dev/null 2>&1 || return 1
    openbox --sm-disable --config-file "$PRIVATE_DISPLAY_SCRIPTS/openbox-rc.xml" >"$log" 2>&1 &
    WM_PID=$!
    # Openbox names itself on the root window once it manages the screen.
    for _ in $(seq 100); do
        kill -0 "$WM_PID" 2>/dev/null || break
        if command -v xprop >/dev/null 2>&1; then
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        else
            sleep 1
            return 0
        fi
        sleep 0.1
    done
    kill "$WM_PID" 2>/dev/null
    wait "$WM_PID" 2>/dev/null
    WM_PID=""
    return 1
}

stop_private_display() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1
        wineserver -w >/dev/null 2>&1
    fi
    if [ -n "${WM_PID:-}" ]; then
        kill "$WM_PID" 2>/dev/null
        wait "$WM_PID" 2>/dev/null
    fi
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
}
