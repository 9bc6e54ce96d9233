#!/bin/sh
# Runs one chain of xdotool commands with the X server's own pointer and
# keyboard (XTest input), as a user's hand does: press, move, rest, press a
# key, release, in the order given. Input sent through Windows (SendInput)
# never reaches the X server this way.
#
# Usage: pointer_steps.sh XDOTOOL_WORD... DONE_FILE
# for example: mousemove 30 60 mousedown 1 mousemove 30 140 sleep 0.2 key Escape mouseup 1
# DONE_FILE then receives one line: "ended", or "error TEXT".
set -u
if [ $# -lt 2 ]; then
    echo "usage: $0 XDOTOOL_WORD... DONE_FILE" >&2
    exit 2
fi
eval "done_file=\${$#}"

finish() {
    printf '%s\n' "$1" >"$done_file.tmp" && mv -f "$done_file.tmp" "$done_file"
    exit 0
}
# A button left down would hold every later test's pointer.
trap 'xdotool mouseup 1 2>/dev/null' EXIT

count=$(($# - 1))
i=1
words=""
for word in "$@"; do
    [ $i -gt $count ] && break
    words="$words $word"
    i=$((i + 1))
done
# The words are xdotool's own (commands, numbers, key names): no quoting needed.
# shellcheck disable=SC2086
xdotool $words || finish "error xdotool could not run:$words"
finish ended
