#!/bin/sh
# Drags with the X server's own pointer (XTest input through xdotool), as a
# user's mouse does: whatever grabs the pointer on the way, such as a window
# manager running a frame drag, follows it. Input sent through Windows
# (SendInput) stays inside Wine and never reaches the window manager.
#
# Usage: pointer_drag.sh FROM_X FROM_Y TO_X TO_Y DONE_FILE
# Presses the left button at FROM, moves in ten steps to TO, rests there and
# releases. DONE_FILE then receives one line: "ended", or "error TEXT".
set -u
if [ $# -ne 5 ]; then
    echo "usage: $0 FROM_X FROM_Y TO_X TO_Y DONE_FILE" >&2
    exit 2
fi
from_x=$1 from_y=$2 to_x=$3 to_y=$4 done_file=$5

finish() {
    printf '%s\n' "$1" >"$done_file.tmp" && mv -f "$done_file.tmp" "$done_file"
    exit 0
}
# A button left down would hold every later test's pointer.
trap 'xdotool mouseup 1 2>/dev/null' EXIT

xdotool mousemove "$from_x" "$from_y" sleep 0.05 mousedown 1 sleep 0.1 ||
    finish "error xdotool could not press at $from_x,$from_y"
step=1
while [ $step -le 10 ]; do
    xdotool mousemove $((from_x + (to_x - from_x) * step / 10)) $((from_y + (to_y - from_y) * step / 10)) sleep 0.04 ||
        finish "error xdotool could not move"
    step=$((step + 1))
done
xdotool sleep 0.1 mouseup 1 || finish "error xdotool could not release"
finish ended
