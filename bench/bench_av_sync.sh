#!/usr/bin/env bash
# How far the sound is behind the picture, measured at the outputs: the
# show plays in a window (Xvfb) through a PulseAudio null sink this script
# starts for itself; the sink's monitor is recorded and matched against the
# decoded music (bench/av_sync.py). Prints, per run, the offset (sound
# behind picture, ms) in steady play, after a pause, after a marker jump and
# after a --loop wrap, and the drift over a long loop.
#
#   bench/bench_av_sync.sh [--baseline] [--minutes N] [--short]
#
# Runs: "fast", the MIDI test scene alone (hundreds of frames a second);
# "slow", the whole show (the software renderer here: a few frames a
# second); "drift", the fast one looping for N minutes (default 10).
# --baseline plays through SDL's own PulseAudio driver instead, which says
# nothing of its delay: the show as it played before it followed its
# output. --short: 34 s runs and a 2-minute drift run. The machine's load
# is printed with each run; other work on it shows in the spread.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

baseline=0
minutes=10
seconds=40
while [ $# -gt 0 ]; do
  case "$1" in
    --baseline) baseline=1 ;;
    --minutes) minutes="$2"; shift ;;
    --short) seconds=34; minutes=2 ;;
    *) echo "usage: bench/bench_av_sync.sh [--baseline] [--minutes N] [--short]" >&2; exit 2 ;;
  esac
  shift
done

for tool in pulseaudio xdotool Xvfb python3; do
  command -v "$tool" >/dev/null || { echo "bench_av_sync: $tool is missing (scripts/install_deps.sh)" >&2; exit 1; }
done
if [ ! -x bin/morvane ] || [ ! -x build/bench/av_sync_record ]; then
  echo "bench_av_sync: build first (scripts/build.sh)" >&2
  exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/bench_av_sync.XXXXXX")"
pa_pid=""
cleanup() {
  if [ -n "$pa_pid" ]; then kill "$pa_pid" 2>/dev/null || true; wait "$pa_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A sound server of our own: a null sink (no sound card needed), a private
# socket, no session bus, never exiting when idle. As root it runs too,
# with a warning.
mkdir -p "$work/runtime" "$work/home"
cat > "$work/pulse.pa" <<'PA'
load-module module-null-sink sink_name=bench_av rate=44100
load-module module-native-protocol-unix
set-default-sink bench_av
PA
XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" \
  pulseaudio -n -F "$work/pulse.pa" --exit-idle-time=-1 --daemonize=no --use-pid-file=no \
  --disallow-exit --log-level=error >"$work/pulse.log" 2>&1 &
pa_pid=$!
export PULSE_SERVER="unix:$work/runtime/pulse/native"
for _ in $(seq 1 100); do
  [ -S "$work/runtime/pulse/native" ] && break
  sleep 0.05
done
[ -S "$work/runtime/pulse/native" ] || { echo "bench_av_sync: PulseAudio did not start:"; cat "$work/pulse.log"; exit 1; } >&2

build/bench/av_sync_record --music data/music/GLOAM2.mp3 "$work/music.raw"

env_args=()
label="following"
if [ "$baseline" = 1 ]; then
  env_args=(--env SDL_AUDIODRIVER=pulse)
  label="baseline (SDL's driver)"
fi
echo "# bench_av_sync: $label; load averages $(cut -d' ' -f1-3 /proc/loadavg)"

# Debian's python3, the one python3-numpy is installed for.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
run() {
  scripts/with_display.sh "$py" bench/av_sync.py --out "$work" "${env_args[@]}" "$@"
}
# From 14.5 s: a jump to the next marker (.) 6 s in, a pause from 12 s to
# 14 s, a jump back to the marker before (,) at 20 s; the loop wraps at
# 38 s of demo time, half a minute in.
keys="6:period,12:p,14:p,20:comma"
loop=(--loop s02 s05)
run --name fast --seconds "$seconds" --keys "$keys" --env WENDIT_SCENE=miditest -- "${loop[@]}"
run --name slow --seconds "$seconds" --keys "$keys" -- "${loop[@]}"
run --name drift --seconds "$((minutes * 60))" --env WENDIT_SCENE=miditest -- "${loop[@]}"
echo "# bench_av_sync: done; load averages $(cut -d' ' -f1-3 /proc/loadavg)"
