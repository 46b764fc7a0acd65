#!/usr/bin/env bash
# The ping coordinator under load, measured under Wine on a private display (run on demand; CI
# does not judge the figures):
#
#   scripts/bench-ping.sh [seconds]     (30 by default)
#
# Three runs of the same length: Tarvik hidden in the tray pinging 1024 hosts on loopback
# (127.0.0.1 to 127.0.4.0) every second, the same Tarvik with an empty ping list, and the
# yardstick tests/bench/icmp_loop.cpp, which sends the same echoes with nothing around them. It
# prints the echoes per second, how many cycles ran and in what share of them each host was
# answered (from the TK-Ping.json the quit message saves), and the CPU time per echo of the
# program's process and the Wine server: Tarvik's less its run without hosts, against the
# yardstick's.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
# shellcheck source=scripts/lib/wine-session.sh
source scripts/lib/wine-session.sh
# shellcheck source=scripts/lib/bench-lib.sh
source scripts/lib/bench-lib.sh

seconds=${1:-30}
hosts=1024
workers=32
# Past the first cycle, which comes 10 s after start.
settleSeconds=12
winBuild=${TARVIK_WIN_BUILD:-build/win}

scripts/setup.sh >/dev/null || exit 1
if [[ ! -f "$winBuild/build.ninja" ]]; then
  cmake -S . -B "$winBuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
fi
cmake --build "$winBuild" --target Tarvik tk-tool tarvik-icmp-loop >/dev/null || exit 1
tarvikExe="$winBuild/src/Tarvik.exe"
loopExe="$winBuild/tests/e2e/tarvik-icmp-loop.exe"
tkTool="$winBuild/tests/e2e/tk-tool.exe"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-bench-ping.XXXXXX")
wine_session_start "$work/session" || exit 1
trap 'wine_session_stop; [[ -n "${KEEP_WORK:-}" ]] || rm -rf "$work"' EXIT
server=$(session_wineserver)

# Started minimised to the tray (flags 13, 20, 21), a ping every second (interval position 0).
settings='\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = 00000000000010000001100000804010000000000000000000\r\n'

# The local date value, as the program stamps its samples.
local_now() {
  python3 -c 'import calendar, time; print(calendar.timegm(time.localtime()))'
}

# A TK-Ping.json of <count> active hosts 127.0.x.y counted from 127.0.0.1.
write_ping_list() {
  python3 - "$1" "$2" <<'PY'
import json, sys
hosts = []
for n in range(1, int(sys.argv[2]) + 1):
    octets = [127, 0, n >> 8, n & 255]
    value = octets[0] | octets[1] << 8 | octets[2] << 16 | octets[3] << 24
    hosts.append({"Init": "1765000000.%d" % n, "Actv": 1, "Best": -1, "Wors": -1,
                  "Valu": value - (1 << 32) if value >= 1 << 31 else value,  # a signed 32-bit value
                  "Host": "", "Addr": ".".join(map(str, octets)), "PV": []})
json.dump(hosts, open(sys.argv[1], "w"))
PY
}

# The cycles between two date values in a saved list: how many, the echoes, and the least share
# of cycles in which a host was answered.
cycle_figures() {
  python3 - "$1" "$2" "$3" <<'PY'
import json, sys
hosts = json.load(open(sys.argv[1]))
first, last = int(sys.argv[2]), int(sys.argv[3])
stamps = sorted({s["S"] for h in hosts for s in h["PV"] if first <= s["S"] < last and s["T"] != -2})
echoes = sum(1 for h in hosts for s in h["PV"] if first <= s["S"] < last and s["T"] >= -1)
least = min((sum(1 for s in h["PV"] if first <= s["S"] < last and s["T"] >= 0) for h in hosts),
            default=0)
late = sum(1 for a, b in zip(stamps, stamps[1:]) if b - a > 1)
print(len(stamps), echoes, "%.1f" % (100.0 * least / max(len(stamps), 1)), late)
PY
}

declare -A ticks
# run_tarvik <label> <hosts>: Tarvik's own and the server's ticks over the run, into ticks[label].
run_tarvik() {
  local label=$1 count=$2 folder="$work/$1"
  mkdir -p "$folder" && cp "$tarvikExe" "$folder/" && printf '%b' "$settings" >"$folder/Tarvik.ini"
  ((count > 0)) && write_ping_list "$folder/TK-Ping.json" "$count"
  (cd "$folder" && exec wine "$folder/Tarvik.exe") >"$folder/run.log" 2>&1 &
  local started=$! pid
  pid=$(program_pid "$folder" Tarvik.exe)
  [[ -n "$pid" ]] || { echo "bench-ping: $label did not start" >&2; return 1; }
  sleep "$settleSeconds"
  local own0 server0 from
  own0=$(cpu_ticks "$pid")
  server0=$(cpu_ticks "$server")
  from=$(local_now)
  sleep "$seconds"
  ticks[$label]=$(($(cpu_ticks "$pid") - own0 + $(cpu_ticks "$server") - server0))
  windowEnd=$(local_now)
  windowStart=$from
  wine "$tkTool" post WM_DEACTIVATEOLDINST_TK >/dev/null 2>&1
  wait "$started" 2>/dev/null
}

# The yardstick: its process's ticks up to its end and the server's over its run.
run_loop() {
  local folder="$work/loop" own=0
  mkdir -p "$folder" && cp "$loopExe" "$folder/"
  local server0
  server0=$(cpu_ticks "$server")
  (cd "$folder" && exec wine "$folder/tarvik-icmp-loop.exe" "$hosts" "$seconds" "$workers") \
    >"$folder/run.log" 2>&1 &
  local started=$! pid
  pid=$(program_pid "$folder" tarvik-icmp-loop.exe)
  while kill -0 "$pid" 2>/dev/null; do
    own=$(cpu_ticks "$pid")
    sleep 0.2
  done
  wait "$started" 2>/dev/null
  ticks[loop]=$((own + $(cpu_ticks "$server") - server0))
  loopLine=$(tr -d '\r' <"$folder/run.log" | grep '^echoes')
}

per_echo_ms() {
  awk -v t="$1" -v e="$2" -v h="$ticksPerSecond" 'BEGIN { if (e > 0) printf "%.3f", 1000 * t / h / e; else print "-" }'
}

echo "bench-ping: $hosts hosts on loopback every second, $seconds s per run, under Wine"
run_tarvik pinging "$hosts" || exit 1
read -r cycles echoes least late < <(cycle_figures "$work/pinging/TK-Ping.json" "$windowStart" "$windowEnd")
run_tarvik idle 0 || exit 1
run_loop
read -r _ loopEchoes _ loopAnswered _ loopCycles _ _ loopOnTime <<<"$loopLine"
pingTicks=$((ticks[pinging] - ticks[idle]))
printf 'tarvik   %s cycles in %s s (%s more than 1 s after the one before), %s echoes (%s a second); every host answered in at least %s %% of the cycles\n' \
  "$cycles" "$seconds" "$late" "$echoes" "$((echoes / seconds))" "$least"
printf 'tarvik   CPU ticks %s with the hosts, %s without: %s ms of CPU per echo\n' \
  "${ticks[pinging]}" "${ticks[idle]}" "$(per_echo_ms "$pingTicks" "$echoes")"
printf 'loop     %s cycles (%s within their second), %s echoes, %s answered; CPU ticks %s: %s ms per echo\n' \
  "$loopCycles" "$loopOnTime" "$loopEchoes" "$loopAnswered" "${ticks[loop]}" \
  "$(per_echo_ms "${ticks[loop]}" "$loopEchoes")"
ratio=$(awk -v a="$pingTicks" -v ea="$echoes" -v b="${ticks[loop]}" -v eb="$loopEchoes" \
  'BEGIN { if (ea > 0 && eb > 0 && b > 0) printf "%.2f", (a / ea) / (b / eb); else print "-" }')
echo "tarvik's CPU per echo is ${ratio}x the loop's"
