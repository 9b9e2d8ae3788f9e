#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the end-to-end tests (on
# X11 and on Wayland), the manual page and the Debian package need, and the
# packages named as arguments, but only those that are missing. Quiet when
# everything is there.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-image-formats-plugins libfontconfig-dev libxcb1-dev
  fonts-dejavu-core fonts-liberation2
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick openbox wmctrl
  python3 desktop-file-utils appstream librsvg2-bin dpkg-dev
  man-db groff-base lintian qt6-wayland weston
  "$@"
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}" >/dev/null
