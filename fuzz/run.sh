#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan) and
# runs each for a short while over a seed corpus made from the project's own
# fixtures. The run has a fixed budget of FUZZ_SECONDS (default 20) times
# twelve seconds, shared evenly among the targets, so that a new target does
# not lengthen CI. Skipped with a note when clang or its fuzzer runtime is
# missing.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ > /dev/null; then
  echo "fuzz/run.sh: clang++ not found, fuzz targets skipped"
  exit 0
fi
# Absolute: a target may change its working folder (to keep its log apart).
BUILD_DIR="$PWD/build-fuzz"
TOTAL_SECONDS=$(( ${FUZZ_SECONDS:-20} * 12 ))

CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLANTERRA_FUZZ=ON > /dev/null
cmake --build "$BUILD_DIR" --parallel "${FUZZ_BUILD_JOBS:-3}"

# Seeds: the image fixture set, each file to the target of its format.
SEEDS="$BUILD_DIR/fuzz-seeds"
rm -rf "$SEEDS"
mkdir -p "$SEEDS/images"
"$BUILD_DIR/tools/image_tools/image_fixtures" "$SEEDS/images"
seed_images() {  # target, file pattern
  mkdir -p "$SEEDS/$1"
  cp "$SEEDS"/images/$2 "$SEEDS/$1/"
}
seed_images png_image_fuzz '*.png'
seed_images jpeg_image_fuzz '*.jpg'
cat "$SEEDS/images/photo_image.jpg" "$SEEDS/images/photo_a.jpg" > "$SEEDS/jpeg_image_fuzz/pair"
seed_images dds_image_fuzz '*.dds'
seed_images vqt_image_fuzz '*.vqt'
# The shipped font scripts.
mkdir -p "$SEEDS/font_script_fuzz"
cp media/fonts/*.lua "$SEEDS/font_script_fuzz/"
# The shipped particle effects.
mkdir -p "$SEEDS/particle_effect_fuzz"
cp media/particles/*.xml "$SEEDS/particle_effect_fuzz/"

# The shipped scenes and the scene fixtures.
mkdir -p "$SEEDS/scene_file_fuzz"
cp media/scenes/*.xml tests/fixtures/scenes/*.xml "$SEEDS/scene_file_fuzz/"

# The golden save fixtures (commented hex): profile sections of every
# version and whole save files.
mkdir -p "$SEEDS/save_file_fuzz"
for fixture in tests/fixtures/saves/*.hex; do
  perl -ne 's/#.*//; print pack("H*", join("", split))' "$fixture" > "$SEEDS/save_file_fuzz/$(basename "$fixture" .hex)"
done

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
status=0
targets=("$BUILD_DIR"/fuzz/*_fuzz)
SECONDS_PER_TARGET=$(( TOTAL_SECONDS / ${#targets[@]} ))
[ "$SECONDS_PER_TARGET" -ge 1 ] || SECONDS_PER_TARGET=1
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus="$BUILD_DIR/fuzz-corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$SEEDS/$name" ] && seeds+=("$SEEDS/$name")
  [ -d "$PWD/fuzz/corpus/$name" ] && seeds+=("$PWD/fuzz/corpus/$name")
  echo "== $name (${SECONDS_PER_TARGET}s)"
  if ! "$target" -max_total_time="$SECONDS_PER_TARGET" -rss_limit_mb=3072 -timeout=10 \
      -artifact_prefix="$BUILD_DIR/fuzz-$name-" "$corpus" "${seeds[@]}" > "$BUILD_DIR/fuzz-$name.log" 2>&1; then
    tail -n 60 "$BUILD_DIR/fuzz-$name.log"
    status=1
  else
    grep -E "^(#[0-9]+\s+DONE|Done)" "$BUILD_DIR/fuzz-$name.log" | tail -n 1 || true
  fi
done
exit $status
