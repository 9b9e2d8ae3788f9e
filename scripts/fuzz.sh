#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang under libFuzzer, AddressSanitizer and
# UBSan in build-fuzz/, then runs each one for a while on its seeds.
#   scripts/fuzz.sh [seconds]   each target runs `seconds` (default 60)
# The committed seeds (fuzz/corpus/<name>/) are only read: what a run finds worth
# keeping goes to build-fuzz/corpus/<name>/, which the next run starts from. One
# summary line per target; a crash, a timeout or an out-of-memory input is copied
# to build-fuzz/artifacts/<name>/ and named, and the script exits with 1.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
case "$seconds" in
  '' | *[!0-9]* | 0) echo "usage: $0 [seconds]" >&2; exit 2 ;;
esac

# Also the compiler and libFuzzer (its runtime is in compiler-rt).
./scripts/deps.sh clang-14 libclang-rt-14-dev

dir=build-fuzz
if [ ! -f "$dir/CMakeCache.txt" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRA_FUZZ=ON >/dev/null
fi
log="$dir/build.log"
if ! cmake --build "$dir" -j2 -- --no-print-directory >"$log" 2>&1; then
  grep -vE '^\[ *[0-9]+%\] (Building|Linking|Built|Automatic)|^Consolidate|^-- ' "$log" || true
  exit 1
fi

export QT_QPA_PLATFORM=offscreen
# A target's private input file lives here, also when a crash leaves it behind.
export TMPDIR="$PWD/$dir/tmp"
mkdir -p "$TMPDIR"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
status=0
for seeds in fuzz/corpus/*/; do
  name="$(basename "$seeds")"
  fuzzer="$dir/bin/${name}_fuzzer"
  work="$dir/corpus/$name"
  artifacts="$dir/artifacts/$name"
  out="$dir/fuzz-$name.log"
  mkdir -p "$work" "$artifacts"
  # New inputs are written to the first folder only: the work copy. The limits
  # let a file of a few bytes announce close to 100 million pixels, which takes
  # seconds to decode under the sanitizers: the timeout leaves room for that.
  rc=0
  "$fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "$seeds" >"$out" 2>&1 || rc=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$out" | tail -1)"
  cov="$(grep -oE 'cov: [0-9]+' "$out" | tail -1 | cut -d' ' -f2)"
  units="$(find "$work" -type f | wc -l)"
  if [ "$rc" -eq 0 ]; then
    echo "$name: ${seconds}s, ${runs:-?} runs, coverage ${cov:-?}, ${units} inputs kept, nothing found"
  else
    status=1
    input="$(sed -n 's/.*Test unit written to //p' "$out" | tail -1)"
    echo "$name: FOUND after ${runs:-?} runs (exit $rc): ${input:-no input written}; log in $out"
    grep -E '^==[0-9]+==ERROR|^SUMMARY|^PictureFuzzer:|runtime error|ALARM|out-of-memory' "$out" | head -5 || true
  fi
done
exit "$status"
