#!/usr/bin/env bash
# Starts the program under a virtual X server in a working directory, runs
# optional xdotool steps, takes a screenshot of the whole screen, ends it.
# Usage: scripts/screenshot.sh <program> <workdir> <out.png> [seconds] [shell steps...]
set -euo pipefail
prog=$(realpath "$1"); dir=$(realpath "$2"); out=$(realpath -m "$3"); wait_s=${4:-2}
shift $(( $# < 4 ? $# : 4 ))
inner=$(mktemp)
{
  echo 'set -u'
  printf 'cd %q\n' "$dir"
  printf '%q & pid=$!\n' "$prog"
  printf 'sleep %q\n' "$wait_s"
  for step in "$@"; do printf '%s\nsleep 0.7\n' "$step"; done
  printf 'import -window root %q\n' "$out"
  echo 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; exit 0'
} > "$inner"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" bash "$inner"
rm -f "$inner"
