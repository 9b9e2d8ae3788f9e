#!/usr/bin/env bash
# Builds the program, then starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh --program
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
There is no display to show the window on. Run it under a virtual one:
  xvfb-run -s '-screen 0 1280x800x24' ./scripts/run.sh
MSG
  exit 2
fi
exec ./build/bin/veltra "$@"
