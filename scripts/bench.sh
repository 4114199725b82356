#!/usr/bin/env bash
# Builds and runs every benchmark under bench/ (never part of the test run).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/build.sh
for b in build/bench/*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  (cd bin && "../$b")
done
