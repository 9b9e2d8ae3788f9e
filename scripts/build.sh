#!/usr/bin/env bash
# Installs what is missing, configures and builds. The program lands at build/bin/veltra.
#   scripts/build.sh             everything (program, tests, tools, benchmarks), Release with
#                                debug info, in build/
#   scripts/build.sh --sanitize  the same under AddressSanitizer + UBSan, in build-sanitize/
#   scripts/build.sh --tsan      the slide-show tests under ThreadSanitizer, in build-tsan/
#   scripts/build.sh --program   only the program
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
targets=()
for a in "$@"; do
  case "$a" in
    --sanitize) dir=build-sanitize; args=(-DCMAKE_BUILD_TYPE=Debug -DVELTRA_SANITIZE=ON -DVELTRA_BENCH=OFF) ;;
    --tsan) dir=build-tsan; args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRA_TSAN=ON -DVELTRA_BENCH=OFF)
            targets=(--target test_slideshow) ;;
    --program) targets=(--target veltra) ;;
    *) echo "usage: $0 [--sanitize|--tsan] [--program]" >&2; exit 2 ;;
  esac
done

./scripts/deps.sh
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${args[@]}" >/dev/null
fi
# Quiet when there is nothing to do; the compiler's messages when something fails.
log="$dir/build.log"
status=0
cmake --build "$dir" "${targets[@]}" -j"$(nproc)" -- --no-print-directory >"$log" 2>&1 || status=$?
grep -vE '^\[ *[0-9]+%\] (Building|Linking|Built|Automatic)|^Consolidate|^-- |^QStandardPaths' "$log" || true
exit "$status"
