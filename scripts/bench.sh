#!/usr/bin/env bash
# What Tarvik costs a machine that runs it all day, measured under Wine on a private display and
# printed as figures (run on demand; CI does not judge them):
#
#   scripts/bench.sh [seconds]     (60 by default)
#
# Three runs of the same length, one after the other, each after 5 s to settle: the yardstick
# (tests/bench/baseline.cpp, a minimal window with a 125 ms timer), Tarvik with its main window
# hidden (started minimised to the tray), and Tarvik with the System tab shown. For each it
# prints the CPU time of the program's own process and of the Wine server during the run, as a
# percentage of one core, and the peak resident memory of the program's process; then Tarvik's
# figures as multiples of the yardstick's. Last, how long closing takes: three runs from the
# registered quit message to the windows gone from the screen and to the process ended. Then the
# storage monitor's own cost over 26 fake drives and the network monitor's over 31 fake adapters,
# from the native (Debug, sanitizer) build; the
# cost of painting the ping table with 1024 full histories (native Release), and what the ping
# state file costs with a full list (1024 hosts of 1000 samples): its size and the times of
# writing, reading, saving and loading it, natively (Release, files in memory) and under Wine
# (real files); and the GPU monitor's cost over 8 fake cards (native Debug). scripts/bench-ping.sh
# measures the pinging itself.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
# shellcheck source=scripts/lib/wine-session.sh
source scripts/lib/wine-session.sh
# shellcheck source=scripts/lib/bench-lib.sh
source scripts/lib/bench-lib.sh

seconds=${1:-60}
settleSeconds=5
winBuild=${TARVIK_WIN_BUILD:-build/win}

scripts/setup.sh >/dev/null || exit 1
if [[ ! -f "$winBuild/build.ninja" ]]; then
  cmake -S . -B "$winBuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
fi
cmake --build "$winBuild" --target Tarvik tarvik-baseline tk-tool tarvik_ping_state_bench \
  >/dev/null || exit 1
tarvikExe="$winBuild/src/Tarvik.exe"
baselineExe="$winBuild/tests/e2e/tarvik-baseline.exe"
tkTool="$winBuild/tests/e2e/tk-tool.exe"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-bench.XXXXXX")
wine_session_start "$work/session" || exit 1
trap 'wine_session_stop; rm -rf "$work"' EXIT
# This session's Wine server (wineserver64 on 64-bit Debian), the newest one right after start.
server=$(pgrep -n wineserver)

declare -A cpuPercent peakMb
# measure <label> <exe> <settings file contents, or "" for none>
measure() {
  local label=$1 exe=$2 settings=$3
  local folder="$work/$label" name
  name=$(basename "$exe")
  mkdir -p "$folder" && cp "$exe" "$folder/"
  [[ -n "$settings" ]] && printf '%b' "$settings" >"$folder/Tarvik.ini"
  (cd "$folder" && exec wine "$folder/$name") >"$folder/run.log" 2>&1 &
  local started=$!
  local pid
  pid=$(program_pid "$folder" "$name")
  [[ -n "$pid" && -n "$server" ]] || {
    echo "bench: $label did not start" >&2
    return 1
  }
  sleep "$settleSeconds"
  local own0 server0 own1 server1 sampler0 storage0 sampler1 storage1 network0 network1
  own0=$(cpu_ticks "$pid")
  server0=$(cpu_ticks "$server")
  sampler0=$(thread_ticks "$pid" "system sampler")
  storage0=$(thread_ticks "$pid" "storage monitor")
  network0=$(thread_ticks "$pid" "network monitor")
  sleep "$seconds"
  own1=$(cpu_ticks "$pid")
  server1=$(cpu_ticks "$server")
  sampler1=$(thread_ticks "$pid" "system sampler")
  storage1=$(thread_ticks "$pid" "storage monitor")
  network1=$(thread_ticks "$pid" "network monitor")
  local peak
  peak=$(peak_kb "$pid")
  wine "$tkTool" post WM_DEACTIVATEOLDINST_TK >/dev/null 2>&1
  wait "$started" 2>/dev/null
  local total=$((own1 - own0 + server1 - server0))
  cpuPercent[$label]=$(awk -v t="$total" -v s="$seconds" -v h="$ticksPerSecond" \
    'BEGIN { printf "%.2f", 100 * t / (s * h) }')
  peakMb[$label]=$(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1024 }')
  printf '%-16s CPU %6s %% of one core (own %s, server %s ticks)   peak memory %6s MB\n' \
    "$label" "${cpuPercent[$label]}" "$((own1 - own0))" "$((server1 - server0))" \
    "${peakMb[$label]}"
  if [[ "$label" != baseline ]]; then
    printf '%-16s of the own ticks: system sampler %s, storage monitor %s, network monitor %s\n' \
      "" "$((sampler1 - sampler0))" "$((storage1 - storage0))" "$((network1 - network0))"
  fi
}

# Milliseconds since a value of $EPOCHREALTIME.
ms_since() {
  local startMicros=${1//[.,]/} nowMicros=${EPOCHREALTIME//[.,]/}
  echo $(((10#$nowMicros - 10#$startMicros) / 1000))
}

# The program's windows on the screen, counted by their title.
shown_windows() {
  xdotool search --onlyvisible --name '^(Tarvik v2\.33|Shutting Down)' 2>/dev/null | wc -l
}

# closing <run>: starts Tarvik with its defaults, waits for both windows and 5 s more, posts the
# quit message and polls every 10 ms until the process has ended (or 20 s passed).
closing() {
  local folder="$work/closing-$1"
  mkdir -p "$folder" && cp "$tarvikExe" "$folder/" && : >"$folder/Tarvik.ini"
  (cd "$folder" && exec wine "$folder/Tarvik.exe") >"$folder/run.log" 2>&1 &
  local started=$! waited
  for ((waited = 0; waited < 300 && $(shown_windows) < 2; waited++)); do
    sleep 0.1
  done
  sleep "$settleSeconds"
  local posted=$EPOCHREALTIME hiddenMs="" endedMs=""
  wine "$tkTool" post WM_DEACTIVATEOLDINST_TK >/dev/null 2>&1 &
  while [[ -z "$endedMs" ]]; do
    [[ -z "$hiddenMs" && $(shown_windows) -eq 0 ]] && hiddenMs=$(ms_since "$posted")
    kill -0 "$started" 2>/dev/null || endedMs=$(ms_since "$posted")
    (($(ms_since "$posted") < 20000)) || endedMs="over 20000"
    sleep 0.01
  done
  wait "$started" 2>/dev/null
  printf 'closing run %s     windows gone after %s ms, process ended after %s ms\n' "$1" \
    "${hiddenMs:-?}" "$endedMs"
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'
}

echo "bench: $seconds s per run under Wine, after $settleSeconds s to settle"
# Flags 13, 20 and 21: start minimised, tray icon, minimise to the tray.
hidden='\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = 00000000000010000001100000804000000000000000000000\r\n'
measure baseline "$baselineExe" "" || exit 1
measure tarvik-hidden "$tarvikExe" "$hidden" || exit 1
measure tarvik-shown "$tarvikExe" " " || exit 1
for label in tarvik-hidden tarvik-shown; do
  printf '%-16s CPU %sx the yardstick, peak memory %sx\n' "$label" \
    "$(ratio "${cpuPercent[$label]}" "${cpuPercent[baseline]}")" \
    "$(ratio "${peakMb[$label]}" "${peakMb[baseline]}")"
done
for run in 1 2 3; do
  closing "$run"
done
nativeBuild=${TARVIK_NATIVE_BUILD:-build/native}
if [[ ! -f "$nativeBuild/build.ninja" ]]; then
  cmake -S . -B "$nativeBuild" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null || exit 1
fi
cmake --build "$nativeBuild" --target tarvik_storage_bench tarvik_network_bench >/dev/null || exit 1
"$nativeBuild/tests/tarvik_storage_bench"
"$nativeBuild/tests/tarvik_network_bench"
releaseBuild=${TARVIK_RELEASE_BUILD:-build/native-release}
if [[ ! -f "$releaseBuild/build.ninja" ]]; then
  cmake -S . -B "$releaseBuild" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIK_SANITIZE=OFF >/dev/null || exit 1
fi
cmake --build "$releaseBuild" --target tarvik_ping_bench tarvik_ping_state_bench >/dev/null || exit 1
"$releaseBuild/tests/tarvik_ping_bench"
"$releaseBuild/tests/tarvik_ping_state_bench"
# Wine's output goes to a file: a pipe would stay open as long as the Wine server runs.
(cd "$work" && wine "$repo/$winBuild/tests/tarvik_ping_state_bench.exe") >"$work/ping-bench.txt" 2>&1
grep -a '^ping state file' "$work/ping-bench.txt" || cat "$work/ping-bench.txt"
cmake --build "$nativeBuild" --target tarvik_gpu_bench >/dev/null || exit 1
"$nativeBuild/tests/tarvik_gpu_bench"
