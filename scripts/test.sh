#!/usr/bin/env bash
# Builds, then runs the whole suite (unit, integration, end-to-end under Xvfb).
#   scripts/test.sh             the plain build, in build/
#   scripts/test.sh --sanitize  the same suite under AddressSanitizer + UBSan
#   scripts/test.sh --tsan      the slide-show tests, whose shows run on worker
#                               threads, under ThreadSanitizer
#   scripts/test.sh --skip-e2e  the plain build without the end-to-end cases
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
skip=()
case "${1:-}" in
  --sanitize) dir=build-sanitize ;;
  --tsan) dir=build-tsan ;;
  --skip-e2e) skip=(-LE e2e); shift ;;
esac
./scripts/build.sh "$@"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
# The toolkit's libraries are not instrumented, so their own locks are
# invisible: only our code's accesses are checked.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1"
cd "$dir"
if [ "$dir" = build-tsan ]; then
  exec ctest --output-on-failure --no-label-summary -j"$(nproc)" --timeout 300 -R '^(SlideShow|SlidesDialog)'
fi
ctest --output-on-failure --no-label-summary -j"$(nproc)" --timeout 300 "${skip[@]}"
