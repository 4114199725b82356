#!/usr/bin/env bash
# Where a farm's time goes, and what its video is worth, on one stretch of
# the show in one run on one machine:
#   - one `wendit capture` process (the reference);
#   - scripts/farm.sh --jobs 2 with H.264 segments joined by copying;
#   - scripts/farm.sh --jobs 2 --lossless, joined by encoding every picture
#     again (the slow path the fast one replaced);
# each farm's rendering, transfer and join times and the size of its
# segments; the fast farm's video against the single capture (pictures,
# timestamps, PSNR, sound offset: build/bench/compare_videos), and both
# videos against the lossless segments (the pictures as rendered), so the
# quality they lose to the encoder is seen side by side. The lossless
# farm's video must be the single capture's very file. The load averages
# before and after say how quiet the machine was.
#
#   bench/bench_farm.sh [FROM] [TO] [WxH]     (default 14.5 34.5 1280x720)
#
# Run on demand, never by the test suite; it needs the built tree
# (compare_videos among the benchmarks).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
from="${1:-14.5}" to="${2:-34.5}" size="${3:-1280x720}"
range=(--from "$from" --to "$to" --size "$size" --fps 30)
tmp="$(mktemp -d /tmp/bench_farm.XXXXXX)"
trap 'rm -rf "$tmp"' EXIT
unset DISPLAY
compare="$root/build/bench/compare_videos"
[ -x "$compare" ] || { echo "bench_farm: no $compare: build the benchmarks first"; exit 1; }

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
  grep '^farm: rendering' "$tmp/err" | sed 's/^/      /' || true
}

# The join seconds of the farm just run.
join_seconds() { sed -n 's/^farm: rendering .*, join \([0-9.]*\) s$/\1/p' "$tmp/err"; }
bytes() { cat "$@" | wc -c; }

echo "bench_farm: $from..$to s at $size, 30 fps, on $(nproc) cores"
echo "  load before: $(cut -d' ' -f1-3 /proc/loadavg)"
cd "$root/bin"
timed "one wendit capture" ./wendit capture "${range[@]}" -o "$tmp/one.mp4"
timed "farm.sh --jobs 2 (H.264 segments)" ../scripts/farm.sh --jobs 2 --keep --work "$tmp/fast" "${range[@]}" \
  -o "$tmp/fast.mp4"
fast_join=$(join_seconds) fast_bytes=$(bytes "$tmp"/fast/segment_*.mkv)
timed "farm.sh --jobs 2 --lossless (FFV1 segments)" ../scripts/farm.sh --jobs 2 --lossless --keep --work "$tmp/flat" \
  "${range[@]}" -o "$tmp/flat.mp4"
flat_join=$(join_seconds) flat_bytes=$(bytes "$tmp"/flat/segment_*.mkv)
echo "  load after the farm runs: $(cut -d' ' -f1-3 /proc/loadavg)"
frames=$(awk -v a="$from" -v b="$to" 'BEGIN{ printf "%d", (b - a) * 30 + 0.999 }')
awk -v f="$fast_join" -v l="$flat_join" -v fb="$fast_bytes" -v lb="$flat_bytes" -v n="$frames" 'BEGIN{
  printf "  join: %.1f s copying against %.1f s encoding again: %.1fx faster\n", f, l, (f > 0 ? l / f : 0)
  printf "  segments: %.1f MB H.264 against %.1f MB lossless (%.0f kB against %.0f kB a frame): %.1fx smaller\n",
    fb / 1e6, lb / 1e6, fb / n / 1e3, lb / n / 1e3, lb / fb }'
if cmp -s "$tmp/one.mp4" "$tmp/flat.mp4"; then
  echo "  the lossless farm's video and the single capture's are identical files"
else
  echo "  the lossless farm's video DIFFERS from the single capture's"
fi
echo "== the H.264 farm's video against the single capture"
"$compare" "$tmp/one.mp4" "$tmp/fast.mp4"
source=$(ls "$tmp"/flat/segment_*_of_2.mkv | sort | paste -sd,)
echo "== the single capture against the pictures as rendered (the lossless segments)"
"$compare" "$source" "$tmp/one.mp4"
echo "== the H.264 farm's video against the pictures as rendered"
"$compare" "$source" "$tmp/fast.mp4"
echo "  load after: $(cut -d' ' -f1-3 /proc/loadavg)"
