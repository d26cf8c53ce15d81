#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it on the
# sample content from the repository root.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/install-deps.sh game
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLANTERRA_TESTS=OFF -DLANTERRA_BENCH=OFF
# The packed archive answers before loose files: keep it current.
cmake --build build-release --target lanterra content_archive
exec ./build-release/lanterra
