#!/usr/bin/env bash
# Starts Oakridge. Without a display it starts a virtual one (Xvfb), says so, and saves a
# screenshot of the window so the program can be seen working on a server too.
set -euo pipefail
program=${1:?usage: run.sh path/to/oakridge}
if [ -n "${DISPLAY:-}" ]; then
    exec "$program"
fi
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $program_pid $xvfb 2>/dev/null || true' EXIT INT TERM
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$program" &
program_pid=$!
shot="$(dirname "$program")/../oakridge-screenshot.png"
if xdotool search --sync --limit 1 --name '^Oakridge$' >/dev/null 2>&1 & wait_pid=$!; then :; fi
for _ in $(seq 100); do
    kill -0 $wait_pid 2>/dev/null || break
    sleep 0.1
done
kill $wait_pid 2>/dev/null || true
sleep 1
import -window root "$shot"
echo "No display here: Oakridge runs on the virtual display $display (Xvfb)."
echo "Screenshot of its window: $(realpath "$shot")"
echo "Press Ctrl+C to stop."
wait $program_pid
