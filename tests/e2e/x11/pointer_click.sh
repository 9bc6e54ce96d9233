#!/bin/sh
# Clicks the left button at a point with the X server's own pointer, as a
# user does: the window manager then gives that window the X input focus.
#
# Usage: pointer_click.sh X Y DONE_FILE
# DONE_FILE then receives one line: "ended", or "error TEXT".
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 X Y DONE_FILE" >&2
    exit 2
fi
done_file=$3
finish() {
    printf '%s\n' "$1" >"$done_file.tmp" && mv -f "$done_file.tmp" "$done_file"
    exit 0
}
xdotool mousemove "$1" "$2" sleep 0.05 click 1 || finish "error xdotool could not click at $1,$2"
finish ended
