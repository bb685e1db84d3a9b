#!/bin/sh
# Run under xvfb-run. Starts a command, waits until a window of the given
# title is shown (or the command ends, or the time is up), lets any box that
# follows it appear, then reports what a person would see and ends it:
#   window: <title>    every visible window
#   icon: <w> x <h>    each size of the titled window's icon
#   cwd: <folder>      the program's working directory
#   running            the program was still running
# Usage: seen-on-screen.sh <title> <seconds> <screenshot.png | -> <command> [args...]
set -u
title=$1 seconds=$2 shot=$3
shift 3
"$@" &
pid=$!
tries=0
while ! xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || break
    tries=$((tries + 1))
    [ "$tries" -le $((seconds * 10)) ] || break
    sleep 0.1
done
sleep 1
root=$(printf '%d' "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')")
for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    [ "$w" = "$root" ] || echo "window: $(xdotool getwindowname "$w")"
done
for w in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null); do
    xprop -id "$w" _NET_WM_ICON | sed -n 's/.*Icon (\([0-9]* x [0-9]*\)).*/icon: \1/p'
done
echo "cwd: $(readlink "/proc/$pid/cwd")"
if kill -0 "$pid" 2>/dev/null; then
    echo running
fi
[ "$shot" = - ] || import -window root "$shot"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
