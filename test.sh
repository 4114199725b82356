#!/usr/bin/env bash
# Installs what is missing, builds, bakes the data tree and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"

bash scripts/build.sh
bash scripts/bake.sh
# Every package is installed and the tree is baked now: a test that finds
# a prerequisite missing (a program, a GL feature, a baked file) fails
# instead of skipping.
WENDIT_REQUIRE_ALL=1 WENDIT_REQUIRE_BAKED=1 bash scripts/with_display.sh ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
