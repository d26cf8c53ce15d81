#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan) and
# runs each for a short while, seeded from the shipped content of its format
# and the project's own fixtures. The targets share one fixed budget,
# FUZZ_TOTAL_SECONDS (default 260), in equal parts, so that a new target
# does not make the run longer; FUZZ_SECONDS, when set, gives every target
# that many seconds instead (long runs by hand). Skipped with a note when
# clang or its fuzzer runtime is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ > /dev/null; then
  echo "fuzz/run.sh: clang++ not found, fuzz targets skipped"
  exit 0
fi
# Absolute: a target may change its working folder (to keep its log apart).
BUILD_DIR="$PWD/build-fuzz"

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
# Shipped files of the target's format.
seed_files() {  # target, files...
  local target=$1
  shift
  mkdir -p "$SEEDS/$target"
  cp "$@" "$SEEDS/$target/"
}
# Lua scripts as shipped: every one passes the targets' filter (checked by
# the unit tests), so the corpus grows from real inputs.
seed_files font_script_fuzz media/fonts/*.lua
seed_files chip_prototypes_fuzz media/scripts/chip_prototypes.lua
seed_files tutorial_lessons_fuzz media/scripts/tutorial.lua media/scripts/tutorial_basics.lua media/scripts/tutorial_bonus.lua media/scripts/tutorial_booster.lua
seed_files level_script_fuzz media/levels/level_1.lua media/levels/level_5.lua media/levels/goal_tiles.lua media/levels/blocker_ice_timed.lua media/levels/bonus_fusion.lua
seed_files campaign_script_fuzz media/scripts/main_mode.lua
seed_files config_scripts_fuzz media/config.lua media/filelist.lua media/lists/*.lua
seed_files text_tables_fuzz media/en/strings.xml
seed_files particle_effect_fuzz media/particles/*.xml
seed_files xml_fuzz media/scripts/*.xml media/en/strings.xml media/particles/*.xml
seed_files ogg_sound_file_fuzz media/sounds/*.ogg tests/fixtures/sounds/*.ogg
# Small archives of shipped files, packed as the sample archive is: the
# whole sample archive is too large for quick mutations.
pack_seed() {  # archive name, shipped files...
  local archive="$SEEDS/vqp_reader_fuzz/$1.vqp"
  shift
  local entries=()
  for file in "$@"; do
    entries+=("$(basename "$file")=$PWD/$file")
  done
  # The packer's log stays with the seeds.
  (cd "$SEEDS" && "$BUILD_DIR/tools/vqp_pack/vqp_pack" pack "$archive" "${entries[@]}" > /dev/null)
}
mkdir -p "$SEEDS/vqp_reader_fuzz"
pack_seed levels media/levels/*.lua
pack_seed lists media/lists/*.lua media/config.lua media/filelist.lua
pack_seed strings media/en/strings.xml media/pc/content_info.lua
pack_seed sound media/sounds/button_clicked.ogg

# The shipped scenes and the scene fixtures.
mkdir -p "$SEEDS/scene_file_fuzz"
cp media/scenes/*.xml tests/fixtures/scenes/*.xml "$SEEDS/scene_file_fuzz/"

# The shipped UI scripts.
mkdir -p "$SEEDS/ui_script_fuzz"
cp media/ui/*.lua "$SEEDS/ui_script_fuzz/"

# The golden save fixtures (commented hex): profile sections of every
# version and whole save files.
mkdir -p "$SEEDS/save_file_fuzz"
for fixture in tests/fixtures/saves/*.hex; do
  perl -ne 's/#.*//; print pack("H*", join("", split))' "$fixture" > "$SEEDS/save_file_fuzz/$(basename "$fixture" .hex)"
done

# Clips of the video generator.
"$BUILD_DIR/tools/video_gen/video_gen" --small "$SEEDS/video_surface_fuzz" > /dev/null

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
targets=("$BUILD_DIR"/fuzz/*_fuzz)
TOTAL_SECONDS=${FUZZ_TOTAL_SECONDS:-260}
SECONDS_PER_TARGET=${FUZZ_SECONDS:-$(( TOTAL_SECONDS / ${#targets[@]} ))}
[ "$SECONDS_PER_TARGET" -ge 1 ] || SECONDS_PER_TARGET=1
status=0
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus="$BUILD_DIR/fuzz-corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$SEEDS/$name" ] && seeds+=("$SEEDS/$name")
  [ -d "$PWD/fuzz/corpus/$name" ] && seeds+=("$PWD/fuzz/corpus/$name")
  # Small text parsers ("text_" targets) cover their ground in a quarter
  # of the time.
  seconds=$SECONDS_PER_TARGET
  case "$name" in text_*) seconds=$(( (SECONDS_PER_TARGET + 3) / 4 )) ;; esac
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=3072 -timeout=10 \
      -artifact_prefix="$BUILD_DIR/fuzz-$name-" "$corpus" "${seeds[@]}" > "$BUILD_DIR/fuzz-$name.log" 2>&1; then
    tail -n 60 "$BUILD_DIR/fuzz-$name.log"
    status=1
  else
    grep -E "^(#[0-9]+\s+DONE|Done)" "$BUILD_DIR/fuzz-$name.log" | tail -n 1 || true
  fi
done
exit $status
