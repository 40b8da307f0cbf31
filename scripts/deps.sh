#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build, the program and the tests need. Quick and silent
# when everything is already there; uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake g++ make ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libqqwing-dev
  xvfb xauth xdotool x11-utils imagemagick openbox
  fonts-ipafont-gothic fontconfig
  qt6-translations-l10n
  appstream desktop-file-utils
  dpkg-dev file lintian
  clang libclang-rt-14-dev
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# Background updates often hold the package manager's locks for a while; wait for them
# rather than fail at once.
lock_wait=(-o DPkg::Lock::Timeout=600)
$sudo apt-get "${lock_wait[@]}" update -qq
$sudo apt-get "${lock_wait[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
