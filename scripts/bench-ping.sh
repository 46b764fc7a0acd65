#!/usr/bin/env bash
# The ping coordinator where half of the hosts are silent, measured under Wine inside a private
# network namespace in which 127.0.2.0/23 is silent (run on demand, as root; CI does not judge the
# figures; nothing leaves the machine):
#
#   scripts/bench-ping.sh [seconds] [another Tarvik.exe]     (60 s by default)
#
# Runs of the same length in one Wine session: Tarvik hidden in the tray pinging 1024 hosts
# (127.0.0.1 to 127.0.4.0, 512 of them silent) every second; the same Tarvik with an empty list;
# the yardstick tests/bench/icmp_loop.cpp, which sends the same echoes at once from one thread with
# nothing around them; the session with no program at all; and, when a second Tarvik.exe is named
# (an earlier build, say), that program pinging the same hosts. For each pinging Tarvik it prints
# the cycles due (one a second) and run, how many began within 100 ms of their second (seen on the
# loopback device, from outside the program), the least share of the cycles due in which an
# answering host had a reply and a silent host a lost sample, the samples missing, and its CPU per
# echo against the yardstick's: the CPU of every process of the Wine session (the program, the
# Wine server, and the device process where Wine does the ICMP work), less the same session's
# without pinging, over the echoes of the cycles that began in the window (a second that begins
# while the loop still sends has no cycle, so where sending takes longer than a second the loop
# falls behind its seconds just as the program does).
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
# shellcheck source=scripts/lib/lossy-loopback.sh
source scripts/lib/lossy-loopback.sh

seconds=${1:-60}
compareExe=${2:-}
[[ -z "$compareExe" ]] || compareExe=$(realpath "$compareExe")
winBuild=${TARVIK_WIN_BUILD:-build/win}

if [[ -z "${TARVIK_LOSSY_LOOPBACK:-}" ]]; then
  scripts/setup.sh >/dev/null || exit 1
  if [[ ! -f "$winBuild/build.ninja" ]]; then
    cmake -S . -B "$winBuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
  fi
  cmake --build "$winBuild" --target Tarvik tk-tool tarvik-icmp-loop >/dev/null || exit 1
fi
lossy_loopback_enter "$0" "$seconds" "$compareExe"
lossy_loopback_routes || {
  echo "bench-ping: no private network namespace with silent hosts (root needed)" >&2
  exit 1
}
# shellcheck source=scripts/lib/wine-session.sh
source scripts/lib/wine-session.sh
# shellcheck source=scripts/lib/bench-lib.sh
source scripts/lib/bench-lib.sh

hosts=1024
# Past the first cycle, which comes 10 s after start.
settleSeconds=14
tarvikExe="$winBuild/src/Tarvik.exe"
loopExe="$winBuild/tests/e2e/tarvik-icmp-loop.exe"
tkTool="$winBuild/tests/e2e/tk-tool.exe"
lossRun="$repo/scripts/lib/loss-run.py"
# The last of the list, sent after the silent ones in each cycle; it answers.
lastAddress=127.0.4.0

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-bench-ping.XXXXXX")
wine_session_start "$work/session" || exit 1
trap 'wine_session_stop; [[ -n "${KEEP_WORK:-}" ]] || rm -rf "$work"' EXIT

# Started minimised to the tray (flags 13, 20, 21), a ping every second (interval position 0).
settings='\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = 00000000000010000001100000804010000000000000000000\r\n'

# Runs a command for the whole measured window and keeps the session's CPU ticks over it in
# ticks[label]: <label> <seconds> <command...>, the command started first, the window after the
# settle time it is given.
declare -A ticks kinds figures echoes lastHost
measure_window() {
  local label=$1 settle=$2
  sleep "$settle"
  local before
  before=$(session_process_ticks)
  windowStart=$(date +%s)
  sleep "$seconds"
  windowEnd=$(date +%s)
  kinds[$label]=$(ticks_by_kind_since "$before")
  ticks[$label]=$(awk '{ print $1 + $2 + $3 + $4 }' <<<"${kinds[$label]}")
}

# Each process of the session now: "<pid> <ticks> <kind>", the kind being what its ticks are
# counted as: the pinging program's own (0), the Wine server's (1), Wine's device processes'
# (2, where the ICMP work is done) or the rest (3).
# A program the benchmark started is known by its process number: Wine may write over the
# environment a process started with, so that the prefix is no longer read there.
programPids=" "
session_process_ticks() {
  local process kind
  for process in /proc/[0-9]*; do
    if [[ "$programPids" != *" ${process#/proc/} "* ]]; then
      tr '\0' '\n' 2>/dev/null <"$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    fi
    case $(tr '\0' ' ' 2>/dev/null <"$process/cmdline") in
      *wineserver*) kind=1 ;;
      *winedevice.exe*) kind=2 ;;
      *Tarvik.exe* | *tarvik-icmp-loop.exe*) kind=0 ;;
      *) kind=3 ;;
    esac
    echo "${process#/proc/} $(cpu_ticks "${process#/proc/}") $kind"
  done
}

# The ticks each kind of process spent since <the processes' ticks then>, "own server device
# rest": counted per process, so that one that ends meanwhile takes none of the others' away
# (it gives nothing either; a process that starts meanwhile counts from 0).
ticks_by_kind_since() {
  awk 'NR == FNR { then[$1] = $2; next }
       { spent[$3] += $2 - ($1 in then ? then[$1] : 0) }
       END { printf "%d %d %d %d\n", spent[0], spent[1], spent[2], spent[3] }' \
    <(echo "$1") <(session_process_ticks)
}

# Milliseconds of CPU per echo by kind of process: <ticks by kind> <ticks by kind without> <echoes>.
per_echo_by_kind() {
  awk -v a="$1" -v b="$2" -v e="$3" -v h="$ticksPerSecond" 'BEGIN {
    split(a, on, " "); split(b, off, " "); split("program server device rest", name, " ")
    for (k = 1; k <= 4; k++)
      printf "%s%s %.3f", (k > 1 ? ", " : ""), name[k], (e > 0 ? 1000 * (on[k] - off[k]) / h / e : 0)
  }'
}

# run_tarvik <label> <exe> <hosts>: the program in its own folder, measured, then closed by the
# quit message, which saves its list.
run_tarvik() {
  local label=$1 exe=$2 count=$3 folder="$work/$1"
  mkdir -p "$folder" && cp "$exe" "$folder/Tarvik.exe" && printf '%b' "$settings" >"$folder/Tarvik.ini"
  ((count > 0)) && python3 "$lossRun" write "$folder/TK-Ping.json" "$count"
  python3 "$lossRun" record "$folder/requests.txt" &
  local recorder=$!
  (cd "$folder" && exec wine "$folder/Tarvik.exe") >"$folder/run.log" 2>&1 &
  local started=$!
  programPids+="$started "
  [[ -n "$(program_pid "$folder" Tarvik.exe)" ]] || { echo "bench-ping: $label did not start" >&2; return 1; }
  measure_window "$label" "$settleSeconds"
  wine "$tkTool" post WM_DEACTIVATEOLDINST_TK >/dev/null 2>&1
  wait "$started" 2>/dev/null
  kill -TERM "$recorder" 2>/dev/null
  wait "$recorder" 2>/dev/null
  ((count > 0)) || return 0
  local due run answered lost missing starts onTime median latest
  read -r due run answered lost missing echoes[$label] _ < <(python3 "$lossRun" figures \
    "$folder/TK-Ping.json" "$windowStart" "$windowEnd")
  read -r starts onTime median latest < <(python3 "$lossRun" cycles "$folder/requests.txt" \
    "$windowStart" "$windowEnd")
  figures[$label]="$due $run $starts $onTime $median $latest $answered $lost $missing"
  local replies sent
  read -r replies sent _ < <(python3 "$lossRun" host "$folder/TK-Ping.json" "$lastAddress")
  lastHost[$label]="$replies of $sent"
}

# The yardstick over the same window, and the session without any program over another.
run_loop() {
  local folder="$work/loop"
  mkdir -p "$folder" && cp "$loopExe" "$folder/"
  (cd "$folder" && exec wine "$folder/tarvik-icmp-loop.exe" "$hosts" "$((seconds + 4))") \
    >"$folder/run.log" 2>&1 &
  local started=$!
  programPids+="$started "
  measure_window loop 2
  # A program that ended with echoes still out can leave Wine's network device deadlocked (it
  # cancels them): then the first echo of the loop never returns. Said, rather than waited for.
  local waited
  for ((waited = 0; waited < 60; waited++)); do
    kill -0 "$started" 2>/dev/null || break
    sleep 1
  done
  if kill -0 "$started" 2>/dev/null; then
    echo "bench-ping: the yardstick did not end: Wine's network device no longer answers" >&2
    kill "$started" 2>/dev/null
  fi
  wait "$started" 2>/dev/null
  # The cycles that began in the window, and how many of them began on time.
  read -r loopCycles loopEchoes < <(tr -d '\r' <"$folder/run.log" |
    awk -v from="$windowStart" -v to="$windowEnd" \
      '$1 == "cycle" && $2 >= from && $2 < to { cycles++; echoes += $3 } END { print cycles + 0, echoes + 0 }')
  loopLine=$(tr -d '\r' <"$folder/run.log" | grep '^echoes')
  loopLastHost=$(tr -d '\r' <"$folder/run.log" | sed -n 's/^last host answered //p')
  measure_window quiet 0
}

per_echo_ms() {
  awk -v t="$1" -v e="$2" -v h="$ticksPerSecond" 'BEGIN { if (e > 0) printf "%.3f", 1000 * t / h / e; else print "-" }'
}

echo "bench-ping: $hosts hosts, 512 of them silent, every second, $seconds s per run, under Wine"
run_tarvik pinging "$tarvikExe" "$hosts" || exit 1
run_tarvik idle "$tarvikExe" 0 || exit 1
[[ -z "$compareExe" ]] || run_tarvik compared "$compareExe" "$hosts" || exit 1
run_loop
read -r loopAllEchoes loopAnswered loopAllCycles loopOnTime loopLongest < <(awk '{ print $2, $4, $6, $9, $15 }' <<<"$loopLine")
loopTicks=$((ticks[loop] - ticks[quiet]))
printf 'loop      %s cycles in %s s (%s within 100 ms of their second), %s echoes, %s answered, longest send %s ms\n' \
  "$loopAllCycles" "$((seconds + 4))" "$loopOnTime" "$loopAllEchoes" "$loopAnswered" "$loopLongest"
printf 'loop      ms per echo by process: %s\n' \
  "$(per_echo_by_kind "${kinds[loop]}" "${kinds[quiet]}" "$loopEchoes")"
printf 'loop      the last host, sent after the silent ones, answered %s cycles\n' "$loopLastHost"
printf 'loop      in the %s s window: %s cycles, %s echoes; CPU %s ticks over the quiet session: %s ms per echo\n' \
  "$seconds" "$loopCycles" "$loopEchoes" "$loopTicks" "$(per_echo_ms "$loopTicks" "$loopEchoes")"
for label in pinging compared; do
  [[ -n "${figures[$label]:-}" ]] || continue
  read -r due run starts onTime median latest answered lost missing <<<"${figures[$label]}"
  own=$((ticks[$label] - ticks[idle]))
  name=$([[ $label == pinging ]] && echo tarvik || echo compared)
  printf '%-9s %s cycles due, %s run; %s seen starting, %s within 100 ms of their second (median %s ms, latest %s ms)\n' \
    "$name" "$due" "$run" "$starts" "$onTime" "$median" "$latest"
  printf '%-9s answering hosts replied in at least %s %% of the cycles due, silent hosts lost in at least %s %%; %s samples missing\n' \
    "$name" "$answered" "$lost" "$missing"
  ratio=$(awk -v a="$own" -v ea="${echoes[$label]}" -v b="$loopTicks" -v eb="$loopEchoes" \
    'BEGIN { if (ea > 0 && eb > 0 && b > 0) printf "%.2f", (a / ea) / (b / eb); else print "-" }')
  printf '%-9s the last host (%s), sent after the silent ones, answered %s echoes\n' \
    "$name" "$lastAddress" "${lastHost[$label]}"
  printf '%-9s ms per echo by process: %s\n' "$name" \
    "$(per_echo_by_kind "${kinds[$label]}" "${kinds[idle]}" "${echoes[$label]}")"
  printf '%-9s %s echoes; CPU %s ticks over its run without hosts: %s ms per echo, %sx the loop'"'"'s\n' \
    "$name" "${echoes[$label]}" "$own" "$(per_echo_ms "$own" "${echoes[$label]}")" "$ratio"
done
