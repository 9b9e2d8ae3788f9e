#!/usr/bin/env bash
# Builds, then runs the whole suite (unit, integration, end-to-end under Xvfb).
#   scripts/test.sh             the plain build, in build/
#   scripts/test.sh --sanitize  the same suite under AddressSanitizer + UBSan
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
if [ "${1:-}" = "--sanitize" ]; then dir=build-sanitize; fi
./scripts/build.sh "$@"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
cd "$dir"
ctest --output-on-failure --no-label-summary -j"$(nproc)" --timeout 300
