#!/usr/bin/env bash
# Installs what is missing, builds, bakes the data tree and plays the show.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"

bash scripts/build.sh
bash scripts/bake.sh
# A broken data tree is reported here, all of it, rather than by the show.
(cd bin && ./wendit check) || exit 1

if [ ! -x bin/morvane ]; then
  echo "# the show program bin/morvane is not built yet: the window, scenes and music come with later work."
  echo "# what exists now: bin/wendit (try: cd bin && ./wendit timeline)"
  exit 0
fi
cd bin
if [ -z "${DISPLAY:-}" ]; then
  # No window to play in: record the show instead, at its real speed.
  echo "# there is no display (DISPLAY is unset): capturing the whole show to $root/morvane.mp4 instead"
  ./wendit capture -o "$root/morvane.mp4"
  echo "# the show is in $root/morvane.mp4"
  exit 0
fi
exec ./morvane "$@"
