#!/usr/bin/env bash
# Installs what is missing, configures and builds. The program lands at build/bin/veltra.
#   scripts/build.sh            Release with debug info, in build/
#   scripts/build.sh --sanitize AddressSanitizer + UBSan, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  args=(-DCMAKE_BUILD_TYPE=Debug -DVELTRA_SANITIZE=ON -DVELTRA_BENCH=OFF)
fi

./scripts/deps.sh
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${args[@]}" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" -- --no-print-directory | grep -vE '^\[ *[0-9]+%\] (Building|Linking|Built|Automatic)|^Consolidate|^-- ' || true
test "${PIPESTATUS[0]}" -eq 0
