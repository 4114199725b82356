#!/usr/bin/env bash
# Runs a command with its own X server: one Xvfb (Mesa's software GL behind
# it) started for the command's whole run and stopped afterwards, so the
# tests that need GL share one server and never touch a person's desktop.
# The display number is picked away from the low numbers other servers use.
set -euo pipefail
for attempt in $(seq 1 20); do
  n=$(( 300 + (RANDOM % 3000) ))
  [ -e "/tmp/.X${n}-lock" ] && continue
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  for i in $(seq 1 500); do
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    if [ -S "/tmp/.X11-unix/X$n" ]; then
      trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
      export DISPLAY=":$n"
      "$@"
      exit $?
    fi
    sleep 0.01
  done
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
done
echo "## ERROR: could not start Xvfb" >&2
exit 1
