#!/usr/bin/env bash
# Bakes the run-time data tree under data/ with the developer tool, when the
# tool knows how; the hand-written marker script is kept in the repository.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root/bin"
if ./wendit help 2>/dev/null | grep -q '^  bake'; then
  ./wendit bake
fi
