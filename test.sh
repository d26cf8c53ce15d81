#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
# LANTERRA_SANITIZE=1 builds and tests under AddressSanitizer and
# UndefinedBehaviorSanitizer in a folder of its own.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/install-deps.sh test

BUILD_DIR=build
EXTRA=()
if [ "${LANTERRA_SANITIZE:-0}" = "1" ]; then
  BUILD_DIR=build-asan
  EXTRA+=(-DLANTERRA_SANITIZE=ON -DLANTERRA_BENCH=OFF)
fi

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${EXTRA[@]}"
cmake --build "$BUILD_DIR"

export SDL_VIDEODRIVER=offscreen
export ALSOFT_DRIVERS=null
# Every test process runs at once on its own core: a rasteriser thread for
# each core in each of them would only fight over the same cores.
export LP_NUM_THREADS="${LP_NUM_THREADS:-2}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_abort=0:handle_sigill=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)"
