#!/usr/bin/env bash
# Time to a finished video: one `wendit capture` process against
# scripts/farm.sh with 2 jobs (the renderer's own thread count, and one
# renderer thread per job: LP_NUM_THREADS=1), on the same stretch of the
# show in one run; then the capture against the plain render loop over
# the same frames (bench_capture: the cost of reading back and encoding).
# The load averages before and after say how quiet the machine was.
#
#   bench/bench_farm.sh [FROM] [TO] [WxH]     (default 14.5 34.5 1280x720)
#
# Run on demand, never by the test suite; it needs the built tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
from="${1:-14.5}" to="${2:-34.5}" size="${3:-1280x720}"
range=(--from "$from" --to "$to" --size "$size" --fps 30)
tmp="$(mktemp -d /tmp/bench_farm.XXXXXX)"
trap 'rm -rf "$tmp"' EXIT
unset DISPLAY

# Runs a command, prints its line and leaves its wall seconds in $wall.
timed() {
  local label="$1"; shift
  local t0 t1 c0 c1
  t0=${EPOCHREALTIME/./}
  c0=$(awk '{print $14+$15+$16+$17}' /proc/$$/stat)
  "$@" >"$tmp/out" 2>"$tmp/err" || { echo "bench_farm: $label failed:"; tail -3 "$tmp/err"; exit 1; }
  t1=${EPOCHREALTIME/./}
  c1=$(awk '{print $14+$15+$16+$17}' /proc/$$/stat)
  wall=$(awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.1f", (b-a)/1e6}')
  local cpu
  cpu=$(awk -v a="$c0" -v b="$c1" -v hz="$(getconf CLK_TCK)" 'BEGIN{printf "%.1f", (b-a)/hz}')
  printf '  %-44s %7s s wall  %7s s processor\n' "$label" "$wall" "$cpu"
  sed 's/^/      /' "$tmp/out"
}

echo "bench_farm: $from..$to s at $size, 30 fps, on $(nproc) cores"
echo "  load before: $(cut -d' ' -f1-3 /proc/loadavg)"
cd "$root/bin"
timed "one wendit capture" ./wendit capture "${range[@]}" -o "$tmp/one.mp4"; single=$wall
timed "farm.sh --jobs 2" ../scripts/farm.sh --jobs 2 "${range[@]}" -o "$tmp/farm2.mp4"; farm2=$wall
timed "farm.sh --jobs 2, LP_NUM_THREADS=1 per job" env LP_NUM_THREADS=1 ../scripts/farm.sh --jobs 2 "${range[@]}" \
  -o "$tmp/farm2t1.mp4"; farm2t1=$wall
timed "farm.sh --jobs 1 (split and join, no parallelism)" ../scripts/farm.sh --jobs 1 "${range[@]}" \
  -o "$tmp/farm1.mp4"; farm1=$wall
same="identical"
for f in farm2 farm2t1 farm1; do
  if ! cmp -s "$tmp/one.mp4" "$tmp/$f.mp4"; then
    # Kept for a look: decode both and compare frame by frame.
    kept="$(mktemp -d /tmp/bench_farm_diff.XXXXXX)"
    cp "$tmp/one.mp4" "$tmp/$f.mp4" "$kept/"
    same="DIFFERENT ($f.mp4; both kept in $kept)"
  fi
done
echo "  load after the farm runs: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "  the farms' videos and the single capture's are $same files"
awk -v s="$single" -v a="$farm2" -v b="$farm2t1" -v c="$farm1" 'BEGIN{
  printf "  time to video, single / farm: %.2fx with 2 jobs, %.2fx with 2 jobs at one renderer thread each, %.2fx with 1 job\n", s/a, s/b, s/c }'
echo "== capture against the plain render loop (bench_capture, one run each)"
../build/bench/bench_capture 1 "$from" "$to" "$size" 2>/dev/null | sed 's/^/  /'
echo "  load after: $(cut -d' ' -f1-3 /proc/loadavg)"
