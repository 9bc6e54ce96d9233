#!/bin/sh
# Presses keys with the X server's own keyboard (XTest input through
# xdotool), as a user's keyboard does: Wine reads them from the X server like
# real key presses, hot keys included, which input sent through Windows
# (SendInput) never tests.
#
# Usage: key_press.sh KEY... DONE_FILE
# Each KEY is an xdotool key name or chord (ctrl+alt+shift+space, Down,
# Return, shift+F10), pressed and released in turn. DONE_FILE then receives
# one line: "ended", or "error TEXT".
set -u
if [ $# -lt 2 ]; then
    echo "usage: $0 KEY... DONE_FILE" >&2
    exit 2
fi
eval "done_file=\${$#}"

finish() {
    printf '%s\n' "$1" >"$done_file.tmp" && mv -f "$done_file.tmp" "$done_file"
    exit 0
}

count=$(($# - 1))
i=1
for key in "$@"; do
    [ $i -gt $count ] && break
    xdotool key --clearmodifiers --delay 60 "$key" || finish "error xdotool could not press $key"
    i=$((i + 1))
done
finish ended
