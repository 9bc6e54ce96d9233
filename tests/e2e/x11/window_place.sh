#!/bin/sh
# Where the X server shows a window: a window manager may put a window
# elsewhere than the program asked for, and Wine's idea of the place then
# differs from the screen's.
#
# Usage: window_place.sh X_WINDOW_ID ANSWER_FILE
# ANSWER_FILE receives one line: "LEFT TOP WIDTH HEIGHT viewable|unmapped"
# (the outer corner on the root window), or "error TEXT".
set -u
if [ $# -ne 2 ]; then
    echo "usage: $0 X_WINDOW_ID ANSWER_FILE" >&2
    exit 2
fi
answer=$2
line=$(xwininfo -id "$1" 2>&1 | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^ *Width:/ { w = $NF }
    /^ *Height:/ { h = $NF }
    /Map State:/ { state = ($NF == "IsViewable") ? "viewable" : "unmapped" }
    END { if (state != "") print x, y, w, h, state }')
[ -n "$line" ] || line="error xwininfo knows no window $1"
printf '%s\n' "$line" >"$answer.tmp" && mv -f "$answer.tmp" "$answer"
