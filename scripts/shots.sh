#!/usr/bin/env bash
# Screenshots of the whole screen with each tab of the main window in view, under Wine, in
# English and German, at each DPI and screen size given as <dpi>:<width>x<height>:
#
#   scripts/shots.sh [96:1280x800 144:1280x800 120:1366x768 192:2560x1440]
#
# Each size gets a private Wine session (its own virtual display and prefix). The pictures land
# in build/shots/ as <dpi>-<width>x<height>-<language>-<n>-<tab>.png, and build/shots/scales.txt
# names, for each run, the main window's place and client size and the scale it was laid out at.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
# shellcheck source=scripts/lib/wine-session.sh
source scripts/lib/wine-session.sh

winBuild=${TARVIK_WIN_BUILD:-build/win}
# shellcheck source=/dev/null
source "$winBuild/tarvik-paths.sh" || exit 1
out="$repo/build/shots"
work="$repo/build/shots-work"
title='Tarvik v2.33 x64 426.9423'
tabs=(system processors graphics storage networks ping settings about)
mainBaseWidth=894
setups=("$@")
[[ ${#setups[@]} -gt 0 ]] || setups=(96:1280x800 144:1280x800 120:1366x768 192:2560x1440)
mkdir -p "$out" "$work" || exit 1

tool() {
  timeout 20 wine "$TK_TOOL" "$@" >"$work/tool.out.raw" 2>"$work/tool.err"
  local code=$?
  tr -d '\r' <"$work/tool.out.raw" >"$work/tool.out"
  return "$code"
}

# The main window's layout once it stays the same for two seconds.
wait_settled() {
  local before="" now tries
  for ((tries = 0; tries < 60; tries++)); do
    tool layout "$title" && now=$(md5sum <"$work/tool.out") || now=""
    [[ -n "$now" && "$now" == "$before" ]] && return 0
    before=$now
    sleep 2
  done
  return 1
}

# One run of the program at a DPI in a language; <name> starts each picture's name.
shoot() {
  local dpi=$1 language=$2 name=$3
  local data="$work/data-$name" locale=en_US.UTF-8
  [[ $language == de ]] && locale=de_DE.UTF-8
  rm -rf "$data" && mkdir -p "$data" && cp "$TARVIK_EXE" "$data/Tarvik.exe" && : >"$data/Tarvik.ini"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >>"$work/reg.out" 2>&1
  (cd "$data" && LANG=$locale LC_ALL=$locale exec wine "$data/Tarvik.exe") >"$work/$name.out" 2>&1 &
  local pid=$!
  if ! wait_settled; then
    echo "shots: $name: the main window did not settle" >&2
    kill "$pid" 2>/dev/null
    return 1
  fi
  local window client
  window=$(sed -n 's/^window //p' "$work/tool.out")
  client=$(sed -n 's/^client //p' "$work/tool.out")
  local clientWidth=${client%% *}
  local layoutDpi=$(((clientWidth * 96 + mainBaseWidth / 2) / mainBaseWidth))
  echo "$name: window $window, client $client, laid out at $layoutDpi DPI" \
    "($((layoutDpi * 100 / 96)) %; the screen is at $dpi DPI)" | tee -a "$out/scales.txt"
  # The tabs are shown whole: Wine's stand-in tray window and the always-on-top mini window are
  # taken off the screen meanwhile (the screen only: the program does not hear of it), then the
  # mini window is shown again for a picture of its own.
  xdotool search --name '^Wine System Tray$' windowunmap >/dev/null 2>&1
  local mini="" id WIDTH=0
  for id in $(xdotool search --onlyvisible --classname '^tarvik\.exe$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep '^WIDTH=')"
    if ((WIDTH < ${client%% *})); then
      mini=$id
    fi
  done
  [[ -n "$mini" ]] && xdotool windowunmap "$mini" >/dev/null 2>&1
  local index
  for index in "${!tabs[@]}"; do
    tool tabto "$title" "$index" || echo "shots: $name: tab $index not chosen" >&2
    sleep 2
    import -window root "$out/$name-$index-${tabs[$index]}.png" >/dev/null 2>&1
  done
  if [[ -n "$mini" ]]; then
    xdotool windowmap "$mini" >/dev/null 2>&1
    sleep 2
    import -window root "$out/$name-8-mini.png" >/dev/null 2>&1
  fi
  tool post WM_DEACTIVATEOLDINST_TK
  timeout 15 tail --pid="$pid" -f /dev/null
  wait "$pid" 2>/dev/null
}

for setup in "${setups[@]}"; do
  dpi=${setup%%:*}
  screen=${setup#*:}
  WINE_SESSION_SCREEN="${screen}x24"
  session="$work/session-$dpi-$screen"
  rm -rf "$session"
  wine_session_start "$session" || exit 1
  for language in en de; do
    shoot "$dpi" "$language" "$dpi-$screen-$language"
  done
  wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >>"$work/reg.out" 2>&1
  wine_session_stop
  rm -rf "$session"
done
echo "shots: in $out"
