#!/usr/bin/env bash
# Builds the program as a Release in build-package/ and makes its Debian
# package with CPack: build/veltra_<version>-<revision>_<arch>.deb. Install it with
#   sudo apt install ./build/veltra_*.deb
# JOBS=<n> limits the parallel compiles (default: one per core).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
dir=build-package
# Debian's build flags with all its hardening (stack protector, fortified
# functions, relocations read-only and bound at start), without debug
# information, which the package's stripped program would not keep.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS | sed -E 's/(^| )-g( |$)/ /')"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELTRA_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
log="$dir/build.log"
status=0
cmake --build "$dir" --target veltra -j"${JOBS:-$(nproc)}" -- --no-print-directory >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  grep -vE '^\[ *[0-9]+%\] (Building|Linking|Built|Automatic)|^Consolidate|^-- ' "$log" || true
  exit "$status"
fi

rm -f "$dir"/veltra_*.deb
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$dir/cpack.log"; exit 1; }
mkdir -p build
for deb in "$dir"/veltra_*.deb; do
  mv -f "$deb" build/
  echo "build/$(basename "$deb")"
done
