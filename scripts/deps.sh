#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, only those that are missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config lld
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  zlib1g-dev libjpeg-dev qt6-base-dev qt6-charts-dev libqt6opengl6-dev libfluidsynth-dev timgm6mb-soundfont
  fonts-ipafont-gothic fonts-ipafont-mincho
  clang libclang-rt-14-dev
  desktop-file-utils appstream lintian
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
