#!/usr/bin/env bash
# Builds the settings-file fuzz target with clang and libFuzzer into build/fuzz and runs it.
# Usage: scripts/fuzz.sh [seconds]   (default 20). Exits non-zero when the fuzzer finds a crash;
# the crashing input is left in build/fuzz/artifacts/.
set -euo pipefail

seconds="${1:-20}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build/fuzz"
cxx="${CXX_FUZZ:-clang++}"
mkdir -p "$out/corpus" "$out/artifacts"

# The target compiles the logic it reaches directly, independent of the CMake tree.
sources=(
  tests/fuzz/settings_fuzz.cpp
  src/settings/colour_list.cpp
  src/settings/config_string.cpp
  src/settings/defaults.cpp
  src/settings/filters.cpp
  src/settings/ini_text.cpp
  src/settings/log_path.cpp
  src/settings/long_idle.cpp
  src/settings/settings_file.cpp
  src/settings/window_positions.cpp
  src/core/settings.cpp
  src/core/text_slots.cpp
  src/core/path_text.cpp
  src/text/utf8.cpp
)

echo "fuzz: building $out/settings_fuzz"
(cd "$root" && "$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -DUNICODE -D_UNICODE -Isrc -o "$out/settings_fuzz" "${sources[@]}")

echo "fuzz: running for ${seconds}s"
# New inputs go to build/fuzz/corpus; the checked-in seeds are only read.
cd "$out"
./settings_fuzz -max_total_time="$seconds" -print_final_stats=1 -max_len=8192 \
  -artifact_prefix="$out/artifacts/" "$out/corpus" "$root/tests/fuzz/corpus"
