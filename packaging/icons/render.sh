#!/usr/bin/env bash
# Renders the icon's PNG sizes from the two SVG drawings beside this script:
# 16 from veltra-16.svg (drawn on that pixel grid), every other size from
# veltra.svg. Run it after changing either drawing; the PNGs are kept in the
# tree because the program's window icon is built from them. Needs rsvg-convert
# (librsvg2-bin). With --check it renders into a temporary folder and fails when
# a kept PNG differs from its drawing.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$here"
if [ "${1:-}" = "--check" ]; then
  out="$(mktemp -d)"
  trap 'rm -rf "$out"' EXIT
fi

for n in 16 24 32 48 64 128 256; do
  src="$here/veltra.svg"
  [ "$n" -eq 16 ] && src="$here/veltra-16.svg"
  rsvg-convert --width "$n" --height "$n" "$src" --output "$out/veltra-$n.png"
done

if [ "$out" != "$here" ]; then
  status=0
  for n in 16 24 32 48 64 128 256; do
    # Same size and the same pixels (a PNG's bytes may differ between encoders).
    if ! diff="$(compare -metric AE "$here/veltra-$n.png" "$out/veltra-$n.png" null: 2>&1)" || [ "$diff" != "0" ]; then
      echo "veltra-$n.png differs from its drawing ($diff pixels): run packaging/icons/render.sh" >&2
      status=1
    fi
  done
  exit "$status"
fi
