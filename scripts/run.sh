#!/usr/bin/env bash
# Builds Tarvik.exe and runs it under Wine. The Wine prefix ~/.cache/tarvik/wineprefix is kept
# between runs, so the program's settings and state files persist. Without a DISPLAY a virtual
# display is started and a screenshot of it lands in build/screenshots/ every 5 seconds.
# Ctrl+C shuts the program down through its own shut-down path (the registered quit message),
# waits for it to end and stops what this script started.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
# shellcheck source=scripts/lib/wine-session.sh
source scripts/lib/wine-session.sh

winBuild=${TARVIK_WIN_BUILD:-build/win}
screenshots="$repo/build/screenshots"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/tarvik"
runLogs="$cache/run"
screenshotSeconds=5
keptScreenshots=120
quitSeconds=15

scripts/setup.sh || exit 1
cmake -S . -B "$winBuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release || exit 1
cmake --build "$winBuild" -j 2 --target Tarvik tk-tool || exit 1
# shellcheck source=/dev/null
source "$winBuild/tarvik-paths.sh" || exit 1

mkdir -p "$cache/wineprefix" "$runLogs" || exit 1
export WINEPREFIX="$cache/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES=$WINE_SESSION_DLL_OVERRIDES

headless=0
screenshotPid=""
tarvikPid=""
stopRequested=0

# shellcheck disable=SC2317 # called by the EXIT trap
cleanup() {
  if [[ -n "$screenshotPid" ]]; then
    kill "$screenshotPid" 2>/dev/null
    wait "$screenshotPid" 2>/dev/null
    screenshotPid=""
  fi
  if [[ $headless -eq 1 ]]; then
    # Let the wineserver write the registry and end by itself; the display goes away next.
    timeout 20 wineserver -w >/dev/null 2>&1 || wineserver -k >/dev/null 2>&1
    wine_session_stop
  fi
}
trap cleanup EXIT
trap 'stopRequested=1' INT TERM

if [[ -z "${DISPLAY:-}" ]]; then
  headless=1
  wine_session_start_display "$runLogs" || exit 1
  echo "run: no DISPLAY, so Tarvik runs on a virtual display ($DISPLAY);"
  echo "run: a screenshot lands in build/screenshots/ every $screenshotSeconds s (latest.png is the newest)"
fi

# Every wine call runs in its own session: the wineserver and the helper processes that the first
# call starts would otherwise share this terminal's Ctrl+C and die before the program can shut
# down through its own path.
wine_detached() {
  setsid wine "$@"
}

# Before any wine call, so that every process of the prefix finds them; a prefix made before
# the fonts were copied gets them on its next run.
wine_session_install_fonts "$WINEPREFIX" || exit 1

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "run: creating the Wine prefix $WINEPREFIX (once, about 10 s)"
  wine_detached wineboot -i >"$runLogs/wineboot.log" 2>&1 || {
    echo "run: wineboot failed, see $runLogs/wineboot.log" >&2
    exit 1
  }
fi

# A window manager decorates Wine's windows on a real desktop; on the virtual display there is
# none, and managed windows would make every hide wait 2 s for its answer.
x11Key='HKCU\Software\Wine\X11 Driver'
if [[ $headless -eq 1 ]]; then
  wine_detached reg add "$x11Key" /v Managed /d N /f >"$runLogs/wine-reg.log" 2>&1
  # A desktop process that started before the setting keeps its tray window managed (see
  # wine_session_restart_desktop): ended, it starts again with the program and reads it.
  wine_detached taskkill /f /im explorer.exe >>"$runLogs/wine-reg.log" 2>&1
else
  wine_detached reg delete "$x11Key" /v Managed /f >"$runLogs/wine-reg.log" 2>&1
fi

wine_session_font_substitutes wine_detached >>"$runLogs/wine-reg.log" 2>&1

take_screenshots() {
  mkdir -p "$screenshots"
  while true; do
    local shot
    shot="$screenshots/screen-$(date +%Y%m%d-%H%M%S).png"
    if import -window root "$shot" >/dev/null 2>&1; then
      cp "$shot" "$screenshots/latest.png"
    fi
    # Keep the newest ones only; a long run would otherwise fill the disk.
    find "$screenshots" -name 'screen-*.png' | LC_ALL=C sort -r | tail -n +$((keptScreenshots + 1)) |
      xargs -r rm -f
    sleep "$screenshotSeconds"
  done
}

# setsid directly, not through the function: $! must be the program itself.
setsid wine "$TARVIK_EXE" >"$runLogs/tarvik.log" 2>&1 &
tarvikPid=$!
echo "run: Tarvik.exe started (pid $tarvikPid, prefix $WINEPREFIX); Ctrl+C ends it"
if [[ $headless -eq 1 ]]; then
  take_screenshots &
  screenshotPid=$!
fi

# wait returns early when a signal arrives; the trap has then set stopRequested.
code=""
while [[ $stopRequested -eq 0 ]]; do
  wait "$tarvikPid" 2>/dev/null
  status=$?
  if ! kill -0 "$tarvikPid" 2>/dev/null; then
    code=$status
    break
  fi
done

if [[ -z "$code" ]]; then
  echo "run: asking Tarvik to shut down"
  # A second Ctrl+C must not cut the shut-down short: from here on, this script and everything
  # it starts ignore it (an ignored signal stays ignored in the programs started next).
  trap '' INT TERM
  for ((tenths = 0; tenths < quitSeconds * 10; tenths++)); do
    # The request is repeated every few seconds in case the one before was lost; a program that
    # is already shutting down ignores it.
    if ((tenths % 50 == 0)); then
      wine_detached "$TK_TOOL" post WM_DEACTIVATEOLDINST_TK >>"$runLogs/tk-tool.log" 2>&1
    fi
    kill -0 "$tarvikPid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$tarvikPid" 2>/dev/null; then
    echo "run: Tarvik did not end within $quitSeconds s; killing it" >&2
    kill -KILL "$tarvikPid" 2>/dev/null
  fi
  code=0
  wait "$tarvikPid" 2>/dev/null || code=$?
fi

echo "run: Tarvik ended with code $code"
exit "$code"
