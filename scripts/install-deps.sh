#!/usr/bin/env bash
# Installs the Debian packages the project builds, runs and tests with.
# Does nothing when every package is already present.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libepoxy-dev libopenal-dev
  liblua5.1-0-dev lua5.1 libpugixml-dev
  libpng-dev libjpeg-dev zlib1g-dev libminizip-dev
  libogg-dev libvorbis-dev libtheora-dev vorbis-tools
  libutfcpp-dev
  clang libclang-rt-14-dev
  libfreetype-dev fonts-dejavu-core xvfb
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
