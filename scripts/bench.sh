#!/usr/bin/env bash
# Builds and runs every benchmark under bench/ (never part of the test run),
# from bin/ and inside one Xvfb, since some of them draw.
#
#   scripts/bench.sh            each with its default arguments (the figures to quote)
#   scripts/bench.sh --short    each with short arguments: that every one runs
#                               and prints its figures, in a few minutes
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
short=0
[ "${1:-}" = "--short" ] && short=1
cd "$root"
bash scripts/build.sh
bash scripts/bake.sh
cd bin
frames="$(mktemp -d /tmp/bench-frames-XXXXXX)"
trap 'rm -rf "$frames"' EXIT
export SHORT=$short FRAMES=$frames
../scripts/with_display.sh bash -c '
ran=" "
run() {
  echo "== $*"
  ran="$ran$1 "
  "../build/bench/$@" || echo "== $1 exited with $?"
}
if [ "$SHORT" = 1 ]; then
  run bench_passes 5
  run mandala_bench 3
  run bench_middle_scenes 3
  run bench_capture 1 14.5 15.5 320x180
  run bench_mesh
  run bench_timeline
  run music_bench
  run startup_bench 3
  WENDIT_FRAME_MS=40 SDL_AUDIODRIVER=dummy run show_frames "$FRAMES" 20000 45000
  run soak show 3 400 320x180
  run soak encoder 1500
  run soak capture 600 160x90
else
  run bench_passes
  run mandala_bench
  run bench_middle_scenes
  run bench_capture
  run bench_mesh
  run bench_timeline
  run music_bench
  run startup_bench
  WENDIT_FRAME_MS=40 SDL_AUDIODRIVER=dummy run show_frames "$FRAMES" --every 2000
  run soak show
  run soak encoder
  run soak capture
fi
# One added later and not listed above runs with its defaults.
for b in ../build/bench/*; do
  n="$(basename "$b")"
  [ -x "$b" ] && [ "${ran#* $n }" = "$ran" ] && run "$n"
done
true'
