#!/usr/bin/env bash
# What Tarvik costs a machine that runs it all day, measured under Wine on a private display and
# printed as figures (run on demand; CI does not judge them):
#
#   scripts/bench.sh [seconds]     (60 by default)
#
# Runs of the same length, one after the other, each after 5 s to settle: the yardstick
# (tests/bench/baseline.cpp, a minimal window with a 125 ms timer), Tarvik with its main window
# hidden (started minimised to the tray), and Tarvik with the About, the System and the
# Processors tab in view (TARVIK_BENCH_COMPARE adds the hidden, System and Processors runs of other builds). For each it
# prints the CPU time of the program's own process and of the Wine server during the run, as a
# percentage of one core, the peak resident memory of the program's process and its resident
# memory at the end of the run (what Task Manager shows); then Tarvik's
# figures as multiples of the yardstick's, and where the hidden Tarvik's resident memory goes beside
# the yardstick's, module by module. Last, how long closing takes: three runs from the
# registered quit message to the windows gone from the screen and to the process ended. Then the
# storage monitor's own cost over 26 fake drives and the network monitor's over 31 fake adapters,
# from the native (Debug, sanitizer) build; the
# cost of painting the ping table with 1024 full histories (native Release), and what the ping
# state file costs with a full list (1024 hosts of 1000 samples): its size and the times of
# writing, reading, saving and loading it, natively (Release, files in memory) and under Wine
# (real files); and the GPU monitor's cost over 8 fake cards (native Debug). scripts/bench-ping.sh
# measures the pinging itself. The metrics page: Tarvik hidden with the page served and scraped
# every 15 s beside Tarvik hidden without it, and the time to build one page with the most of
# everything and its size (native Release). TARVIK_BENCH_METRICS_ONLY=<pairs> measures only that,
# that many pairs of runs, one after the other. Then the table of the operating-system calls each
# thread makes per second in the tray and with its tab in view, and what each call costs, from a
# counting build in build/win-count (os_call_table below); TARVIK_BENCH_CALLS_ONLY=1 prints only
# that.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
# shellcheck source=scripts/lib/wine-session.sh
source scripts/lib/wine-session.sh
# shellcheck source=scripts/lib/bench-lib.sh
source scripts/lib/bench-lib.sh

seconds=${1:-60}
# TARVIK_BENCH_SETTLE=<seconds> measures later in the run: after about 110 s the history lists
# are full and stop growing, as they are for a program that runs all day.
settleSeconds=${TARVIK_BENCH_SETTLE:-5}
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
# This session's Wine server, found by its prefix (wineserver64 on 64-bit Debian).
server=$(session_wineserver)

# The main window's tab control, clicked on its first tab (System), then <keys> (xdotool names)
# sent to the window: the tab in view is the one a user would reach that way. Succeeds when the
# window answers that tab <tab> is selected.
show_tab() {
  local tab=$1 keys=$2 out="$work/tool.txt" x y w rest window waited
  for ((waited = 0; waited < 300; waited++)); do
    wine "$tkTool" client "Tarvik v2.33 x64 426.9423" >"$out.raw" 2>/dev/null
    tr -d '\r' <"$out.raw" >"$out"
    read -r x y w rest < <(awk '$3 == 894 && $5 == 1' "$out")
    [[ -n "${x:-}" ]] && break
    sleep 0.1
  done
  [[ -n "${x:-}" ]] || return 1
  xdotool mousemove "$((x + 14))" "$((y + 10))" click 1 2>/dev/null
  window=$(xdotool getmouselocation --shell 2>/dev/null | awk -F= '/^WINDOW=/ { print $2 }')
  # shellcheck disable=SC2086
  [[ -z "$keys" ]] || xdotool key --window "$window" --delay 50 $keys 2>/dev/null
  # The pointer leaves the window, as a user's would: resting on the tab control it keeps the
  # control's hot-tracking timer running, ten wake-ups a second that no user meets for long.
  xdotool mousemove "$((${WINE_SESSION_SCREEN%%x*} - 1))" 0 2>/dev/null
  sleep 0.5
  # Keys that did not reach the tab (a gadget of a tab on the way may keep ctrl+Tab) leave it to
  # be chosen as a click on it would.
  [[ "$(tab_in_view)" == "$tab" ]] ||
    wine "$tkTool" tabto "Tarvik v2.33 x64 426.9423" "$tab" >/dev/null 2>&1
  [[ "$(tab_in_view)" == "$tab" ]]
}

tab_in_view() {
  wine "$tkTool" tab "Tarvik v2.33 x64 426.9423" >"$work/tab.raw" 2>/dev/null
  tr -d '\r' <"$work/tab.raw" | head -n 1
}

declare -A cpuPercent peakMb residentMb
# measure <label> <exe> <settings file contents, or "" for none> [<tab> <keys that reach it>]
measure() {
  local label=$1 exe=$2 settings=$3 tab=${4:-} keys=${5:-}
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
  if [[ -n "$tab" ]] && ! show_tab "$tab" "$keys"; then
    echo "bench: $label could not show tab $tab" >&2
    wine "$tkTool" post WM_DEACTIVATEOLDINST_TK >/dev/null 2>&1
    wait "$started" 2>/dev/null
    return 1
  fi
  sleep "$settleSeconds"
  local own0 server0 own1 server1
  own0=$(cpu_ticks "$pid")
  server0=$(cpu_ticks "$server")
  thread_table "$pid" >"$folder/threads0"
  local windowStart=${EPOCHREALTIME%[.,]*}
  sleep "$seconds"
  # The whole seconds the run measured, for the table of a counting build's calls.
  echo "$((windowStart + 1)) ${EPOCHREALTIME%[.,]*}" >"$folder/window"
  own1=$(cpu_ticks "$pid")
  server1=$(cpu_ticks "$server")
  thread_table "$pid" >"$folder/threads1"
  local peak resident breakdown
  peak=$(peak_kb "$pid")
  resident=$(resident_kb "$pid")
  breakdown=$(resident_breakdown "$pid")
  cp "/proc/$pid/smaps" "$folder/smaps" 2>/dev/null
  wine "$tkTool" post WM_DEACTIVATEOLDINST_TK >/dev/null 2>&1
  wait "$started" 2>/dev/null
  local total=$((own1 - own0 + server1 - server0))
  cpuPercent[$label]=$(awk -v t="$total" -v s="$seconds" -v h="$ticksPerSecond" \
    'BEGIN { printf "%.2f", 100 * t / (s * h) }')
  peakMb[$label]=$(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1024 }')
  residentMb[$label]=$(awk -v k="$resident" 'BEGIN { printf "%.1f", k / 1024 }')
  printf '%-18s CPU %6s %% of one core (own %s, server %s ticks)   peak memory %6s MB, resident at the end %6s MB\n' \
    "$label" "${cpuPercent[$label]}" "$((own1 - own0))" "$((server1 - server0))" \
    "${peakMb[$label]}" "${residentMb[$label]}"
  if [[ "$label" != baseline ]]; then
    printf '%-18s own ticks by thread: %s\n' "" \
      "$(thread_gains "$folder/threads0" "$folder/threads1")"
  fi
  printf '%-18s resident MB by mapping: %s\n' "" "$breakdown"
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

# The metrics page's cost: <pairs> runs of Tarvik hidden without the page, each followed by one
# with the page served and scraped every 15 s, as a Prometheus server would; then one page built
# with the most of everything, natively.
metrics_cost() {
  local client="$repo/tests/e2e/tools/metrics_client.py" pair port scraper
  port=$(python3 "$client" free-port) || return 1
  for ((pair = 1; pair <= $1; pair++)); do
    measure "hidden-$pair" "$tarvikExe" "$hidden" || return 1
    : >"$work/scrapes"
    (while sleep 15; do
      python3 "$client" page "$port" >/dev/null 2>&1 && echo ok >>"$work/scrapes"
    done) &
    scraper=$!
    measure "metrics-$pair" "$tarvikExe" "${hidden}Metrics = 127.0.0.1:$port\r\n" || return 1
    kill "$scraper" 2>/dev/null
    wait "$scraper" 2>/dev/null
    printf '%-18s CPU %sx the same run without the page (%s scrapes answered)\n' "metrics-$pair" \
      "$(ratio "${cpuPercent[metrics-$pair]}" "${cpuPercent[hidden-$pair]}")" \
      "$(wc -l <"$work/scrapes")"
  done
  local releaseBuild=${TARVIK_RELEASE_BUILD:-build/native-release}
  if [[ ! -f "$releaseBuild/build.ninja" ]]; then
    cmake -S . -B "$releaseBuild" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIK_SANITIZE=OFF \
      >/dev/null || return 1
  fi
  cmake --build "$releaseBuild" --target tarvik_metrics_bench >/dev/null || return 1
  "$releaseBuild/tests/tarvik_metrics_bench"
}
# What each thread asks of the operating system: a counting build (TARVIK_COUNT_OS_CALLS) run in
# the tray and with each tab in view, for the same seconds each; then per thread and call the calls
# per second in the tray and with the thread's own tab in view (a helper's tab is its monitor's,
# another thread's the tab where it called most), the mean wall time of one call under Wine and the
# milliseconds per second the calls take, the busiest first, each thread's sum above its calls.
os_call_table() {
  local countBuild=${TARVIK_COUNT_BUILD:-build/win-count} runs=() entry label tab keys settings
  if [[ ! -f "$countBuild/build.ninja" ]]; then
    cmake -S . -B "$countBuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DTARVIK_COUNT_OS_CALLS=ON >/dev/null || return 1
  fi
  cmake --build "$countBuild" --target Tarvik >/dev/null || return 1
  for entry in "tray||" "System|0|" "Processors|1|ctrl+Tab" "Graphics|2|ctrl+Tab ctrl+Tab" \
    "Drives|3|ctrl+Tab ctrl+Tab ctrl+Tab" "Network|4|ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab" \
    "Ping|5|ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab" "About|7|ctrl+shift+Tab"; do
    IFS='|' read -r label tab keys <<<"$entry"
    settings=$([[ -n "$tab" ]] && echo " " || echo "$hidden")
    TARVIK_OS_CALLS_FILE=os-calls.txt measure "calls-$label" "$countBuild/src/Tarvik.exe" \
      "$settings" "$tab" "$keys" >/dev/null || return 1
    [[ -s "$work/calls-$label/os-calls.txt" ]] || {
      echo "bench: the $label run wrote no table of calls" >&2
      return 1
    }
    read -r from to <"$work/calls-$label/window"
    runs+=("label=$label" "from=$from" "to=$to" "$work/calls-$label/os-calls.txt")
  done
  echo "operating-system calls per thread, counted in $seconds s runs:"
  awk -v own="system sampler=System,Processors;processor query=Processors;GPU monitor=Graphics;\
storage monitor=Drives;drive answer=Drives;network monitor=Network;address lookup=Network;\
ping coordinator=Ping;host resolver=Ping;cost monitor=About" \
    -f scripts/lib/os-call-table.awk "${runs[@]}" | sort -t $'\t' -k1,1 -k2,2 -k3,3g | cut -f4-
}
if [[ -n "${TARVIK_BENCH_CALLS_ONLY:-}" ]]; then
  os_call_table
  exit
fi
if [[ -n "${TARVIK_BENCH_METRICS_ONLY:-}" ]]; then
  metrics_cost "$TARVIK_BENCH_METRICS_ONLY"
  exit
fi
measure baseline "$baselineExe" "" || exit 1
measure tarvik-hidden "$tarvikExe" "$hidden" || exit 1
labels=(tarvik-hidden)
# tab runs of one build: <label prefix> <exe>
measure_tabs() {
  measure "$1-about" "$2" " " 7 ctrl+shift+Tab || exit 1
  measure "$1-system" "$2" " " 0 "" || exit 1
  measure "$1-processors" "$2" " " 1 ctrl+Tab || exit 1
  labels+=("$1-about" "$1-system" "$1-processors")
}
measure_tabs tarvik "$tarvikExe"
# TARVIK_BENCH_COMPARE="name=path/to/Tarvik.exe ...": other builds measured hidden in the tray and
# on the System and the Processors tab in the same session, for side-by-side figures.
for other in ${TARVIK_BENCH_COMPARE:-}; do
  measure "${other%%=*}-hidden" "${other#*=}" "$hidden" || exit 1
  measure "${other%%=*}-system" "${other#*=}" " " 0 "" || exit 1
  measure "${other%%=*}-processors" "${other#*=}" " " 1 ctrl+Tab || exit 1
  labels+=("${other%%=*}-hidden" "${other%%=*}-system" "${other%%=*}-processors")
done
for label in "${labels[@]}"; do
  printf '%-18s CPU %sx the yardstick, peak memory %sx, resident memory %sx\n' "$label" \
    "$(ratio "${cpuPercent[$label]}" "${cpuPercent[baseline]}")" \
    "$(ratio "${peakMb[$label]}" "${peakMb[baseline]}")" \
    "$(ratio "${residentMb[$label]}" "${residentMb[baseline]}")"
done
echo "resident MB by module, Tarvik hidden beside the yardstick (more, module, yardstick, Tarvik):"
awk -f scripts/lib/resident-by-module.awk label=yardstick "$work/baseline/smaps" \
  label=Tarvik "$work/tarvik-hidden/smaps" | sed 's/^/  /'
# TARVIK_BENCH_TABS_ONLY=1 stops here.
[[ -z "${TARVIK_BENCH_TABS_ONLY:-}" ]] || exit 0
metrics_cost 1 || exit 1
os_call_table || exit 1
for run in 1 2 3; do
  closing "$run"
done
nativeBuild=${TARVIK_NATIVE_BUILD:-build/native}
if [[ ! -f "$nativeBuild/build.ninja" ]]; then
  cmake -S . -B "$nativeBuild" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null || exit 1
fi
cmake --build "$nativeBuild" --target tarvik_storage_bench tarvik_storage_calls_bench tarvik_network_bench >/dev/null || exit 1
"$nativeBuild/tests/tarvik_storage_bench"
"$nativeBuild/tests/tarvik_storage_calls_bench"
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
