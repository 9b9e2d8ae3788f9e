#!/usr/bin/env bash
# Compares rasterdump with the GDI oracle under Wine: the oracle's examples and
# random command soups. Arguments go to tools/oracle_compare.py (--help).
#   scripts/oracle-compare.sh --examples --soups 50 --commands 3000
# Needs wine64 and g++-mingw-w64-x86-64, and build/bin/rasterdump.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -x build/bin/rasterdump ] && [[ " $* " != *" --rasterdump "* ]]; then
  cmake --build build --target rasterdump
fi
exec python3 tools/oracle_compare.py "$@"
