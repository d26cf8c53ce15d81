#!/usr/bin/env bash
# Installs the Debian packages the project needs, in one of two sets:
#   game  what the game builds and runs with (play.sh)
#   test  the game's set and the test, benchmark and fuzz packages (test.sh)
# Does nothing when every package is already present, so that no root is
# needed then. Otherwise installs as root, or through sudo; with neither,
# prints the one command to run as root and stops.
set -euo pipefail

GAME_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libepoxy-dev libgl1-mesa-dri libopenal-dev
  liblua5.1-0-dev libpugixml-dev
  libpng-dev libjpeg-dev zlib1g-dev libminizip-dev
  libogg-dev libvorbis-dev libtheora-dev
  libutfcpp-dev
)
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev
  lua5.1 vorbis-tools
  clang libclang-rt-14-dev
  libfreetype-dev fonts-dejavu-core xvfb
)

case "${1:-}" in
  game) PACKAGES=("${GAME_PACKAGES[@]}") ;;
  test) PACKAGES=("${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *)
    echo "usage: $0 game|test" >&2
    exit 2
    ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo > /dev/null; then
    {
      echo "Missing Debian packages: ${missing[*]}"
      echo "Installing them needs root, and sudo is not installed. Run this as root, then start again:"
      echo
      echo "  apt-get install -y --no-install-recommends ${missing[*]}"
      echo
    } >&2
    exit 1
  fi
  SUDO=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
