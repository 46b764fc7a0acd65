#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build/fuzz and runs them one after the
# other, sharing the time: the settings file, then the two state files (TK-Ping.json and
# TK-Saga.json), then the geolocation service's answer and what the program shows of it.
# Usage: scripts/fuzz.sh [seconds]   (default 20, in all). Exits non-zero when a
# fuzzer finds a crash; the crashing input is left in build/fuzz/artifacts/.
set -euo pipefail

seconds="${1:-20}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build/fuzz"
cxx="${CXX_FUZZ:-clang++}"
mkdir -p "$out/artifacts"

# Each target compiles the logic it reaches directly, independent of the CMake tree.
settings_sources=(
  tests/fuzz/settings_fuzz.cpp
  src/settings/colour_list.cpp
  src/settings/config_string.cpp
  src/settings/defaults.cpp
  src/settings/filters.cpp
  src/settings/ini_text.cpp
  src/settings/log_path.cpp
  src/settings/long_idle.cpp
  src/settings/metrics_endpoint.cpp
  src/settings/settings_file.cpp
  src/settings/window_positions.cpp
  src/core/settings.cpp
  src/core/text_slots.cpp
  src/core/path_text.cpp
  src/text/ipv4_text.cpp
  src/text/utf8.cpp
)
state_files_sources=(
  tests/fuzz/state_files_fuzz.cpp
  tests/fakes/fake_file_system.cpp
  src/monitors/ping/ping_list_reader.cpp
  src/monitors/ping/ping_address.cpp
  src/monitors/ping/ping_list_writer.cpp
  src/monitors/ping/ping_state_file.cpp
  src/core/backed_up_write.cpp
  src/logs/saga_file.cpp
  src/logs/event_lists.cpp
  src/core/list_model.cpp
  src/core/window_updates.cpp
  src/core/settings.cpp
  src/settings/defaults.cpp
  src/text/date_format.cpp
  src/text/translation.cpp
  src/text/translation_table.cpp
  src/text/json_events.cpp
  src/text/ipv4_text.cpp
  src/text/utf8.cpp
)
locale_answer_sources=(
  tests/fuzz/locale_answer_fuzz.cpp
  src/monitors/network/ip_locale_info.cpp
  src/monitors/network/ip_address_text.cpp
  src/monitors/network/locale_display.cpp
  src/monitors/network/info_line.cpp
  src/text/untrusted_text.cpp
  src/text/date_format.cpp
  src/text/translation.cpp
  src/text/translation_table.cpp
  src/text/utf8.cpp
)

# build <target> <sources...>
build() {
  local target=$1
  shift
  echo "fuzz: building $out/$target"
  (cd "$root" && "$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -DUNICODE -D_UNICODE -Isrc -Itests -o "$out/$target" "$@")
}

# run <target> <seconds> <max input length>: new inputs go to build/fuzz/<target>-corpus; the
# checked-in seeds in tests/fuzz/<target>-corpus (the settings seeds in tests/fuzz/corpus) are
# only read.
run() {
  local target=$1 time=$2 maxLength=$3 seeds="$root/tests/fuzz/$1-corpus"
  [[ "$target" == settings_fuzz ]] && seeds="$root/tests/fuzz/corpus"
  mkdir -p "$out/$target-corpus"
  echo "fuzz: running $target for ${time}s"
  (cd "$out" && "./$target" -max_total_time="$time" -print_final_stats=1 \
    -max_len="$maxLength" -artifact_prefix="$out/artifacts/" "$out/$target-corpus" "$seeds")
}

build settings_fuzz "${settings_sources[@]}"
build state_files_fuzz "${state_files_sources[@]}"
build locale_answer_fuzz "${locale_answer_sources[@]}"
localeSeconds=$((seconds / 3 > 0 ? seconds / 3 : 1))
sharedSeconds=$((seconds - localeSeconds > 0 ? seconds - localeSeconds : 1))
settingsSeconds=$(((sharedSeconds + 1) / 2))
stateSeconds=$((sharedSeconds - settingsSeconds > 0 ? sharedSeconds - settingsSeconds : 1))
run settings_fuzz "$settingsSeconds" 8192
run state_files_fuzz "$stateSeconds" 65536
# The program takes no answer longer than 8 KiB.
run locale_answer_fuzz "$localeSeconds" 8192
