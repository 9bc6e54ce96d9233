# Sourced by the scripts that run the panel under Wine without touching the
# user's display. start_private_display LOG_FILE starts an Xvfb that picks a
# free display number itself, sets XVFB_PID, exports DISPLAY and paints the
# root a known plain colour. The caller's cleanup kills $XVFB_PID. An optional
# second argument gives the screen size (default 1024x768).
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
