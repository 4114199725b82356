#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UBSan, then runs the whole test
# suite and the whole show with leak checking on. Leaks inside SDL 1.2, the
# X libraries and Mesa are suppressed (scripts/lsan.supp); anything else,
# ours, fails the run. Usage: scripts/sanitize.sh [CTEST ARGS...]
#
# The sanitized programs are built into bin/ (where the tests and the show
# run them); the normal ones are rebuilt there at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install_deps.sh
restore_normal_build() {
  rm -f bin/morvane bin/wendit
  if [ -f build/CMakeCache.txt ]; then cmake --build build -j"$(nproc)" >/dev/null; fi
}
trap restore_normal_build EXIT

if [ ! -f build-asan/CMakeCache.txt ]; then
  cmake -S . -B build-asan -DWENDIT_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
rm -f bin/morvane bin/wendit
cmake --build build-asan -j"$(nproc)"
bash scripts/bake.sh

# The fast unwinder stays on: with fast_unwind_on_malloc=0 the code
# generation of Mesa's software rasteriser deadlocks.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0:verify_asan_link_order=0"
# Mesa's driver is unloaded before the leak check runs, and its leaks would
# then show without a module name to suppress them by: keep it loaded.
dri="$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -1 || true)"
if [ -n "$dri" ]; then export LD_PRELOAD="$dri"; fi
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
echo "# the test suite under ASan, UBSan and LSan"
bash scripts/with_display.sh ctest --test-dir build-asan --output-on-failure -j"$(nproc)" "$@" || status=1

echo "# the whole show under ASan, UBSan and LSan"
log="$(mktemp)"
if (cd bin && SDL_AUDIODRIVER=dummy WENDIT_FRAME_MS=40 WENDIT_GL_CHECK=1 \
      bash ../scripts/with_display.sh ./morvane </dev/null >"$log.out" 2>"$log"); then
  if grep -q "ERROR: \(Address\|Leak\)Sanitizer\|runtime error:" "$log"; then status=1; fi
else
  status=1
fi
grep -A30 "Sanitizer\|runtime error:" "$log" | head -80 || true
tail -1 "$log.out"
rm -f "$log" "$log.out"

if [ $status -eq 0 ]; then echo "# sanitize: clean"; else echo "# sanitize: FAILED"; fi
exit $status
