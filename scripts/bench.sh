#!/usr/bin/env bash
# Builds and runs every benchmark under bench/ (never part of the test run),
# from bin/ and inside one Xvfb, since some of them draw.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/build.sh
bash scripts/bake.sh
cd bin
../scripts/with_display.sh bash -c '
for b in ../build/bench/*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done'
