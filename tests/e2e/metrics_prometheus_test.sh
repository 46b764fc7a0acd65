#!/usr/bin/env bash
# Tarvik watched by a real Prometheus: the metrics page switched on in Tarvik.ini, Debian's
# prometheus on loopback scraping it every second. Prometheus' own API reports the target up and
# holds the physical memory, C:'s free share and a pinged loopback host's sent echoes as the probe
# reads them from the program's cells and its ping list; promtool accepts a scraped page that has
# every family (a fake NVML card, a loopback host, drives, adapters). Fifty idle connections do
# not make a scrape wait for their time-out, a request head of 1 MiB is refused and the
# next scrape answered, and the program quits promptly with connections open. Started again
# while another program holds the port, the program runs on and its log tells why.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TARVIK_PROBE_EXE:?TARVIK_PROBE_EXE must name TarvikProbe.exe}"
: "${TARVIK_FAKE_NVML:?TARVIK_FAKE_NVML must name the fake nvml.dll}"
TARVIK_EXE=$TARVIK_PROBE_EXE
command -v prometheus >/dev/null && command -v promtool >/dev/null ||
  e2e_fail "prometheus and promtool are needed (scripts/setup.sh installs them)"
client="$TARVIK_REPO/tests/e2e/tools/metrics_client.py"
# A helper's Python start alone takes seconds on a machine busy with builds.
helperSeconds=30
readout="$E2E_DATA/probe-readout.txt"

# The prefix is shared with the other tests: the library leaves it with this test, pass or fail.
nvsmi="$WINEPREFIX/drive_c/Program Files/NVIDIA Corporation/NVSMI"
trap 'code=$?; rm -f "$nvsmi/nvml.dll"; rmdir "$nvsmi" "${nvsmi%/*}" 2>/dev/null; (exit $code); e2e_cleanup' EXIT

metricsPort=$(python3 "$client" free-port) && promPort=$(python3 "$client" free-port) ||
  e2e_fail "no free port"

e2e_require_no_program
mkdir -p "$nvsmi" && cp "$TARVIK_FAKE_NVML" "$nvsmi/nvml.dll" || e2e_fail "cannot place nvml.dll"
e2e_new_data_folder
# Flags 1, 12 and 20: always on top, the log file, the tray icon; the ping list shows addresses
# and pings every 60 s, so a host's sent count holds still between two cycles.
flags=""
for position in $(seq 1 26); do
  case $position in 1 | 12 | 20) flags+=1 ;; *) flags+=0 ;; esac
done
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s8041190%s\r\nMetrics = 127.0.0.1:%s\r\n' \
  "$flags" "$(printf '0%.0s' {1..17})" "$metricsPort" >"$E2E_DATA/Tarvik.ini"
# One loopback host whose description holds the label format's own characters.
printf '[{"Init":"1765000000.1","Actv":1,"Sent":0,"Recv":0,"Lost":0,"Time":0,"Best":-1,' \
  >"$E2E_DATA/TK-Ping.json"
printf '"Wors":-1,"Down":0,"PTTL":0,"PTOS":0,"Last":0,"Valu":16777343,"Sort":127000000001,' \
  >>"$E2E_DATA/TK-Ping.json"
printf '"HiLi":0,"CFor":0,"CBak":0,"Host":"lo \\"one\\"","Addr":"127.0.0.1","PV":[]}]' \
  >>"$E2E_DATA/TK-Ping.json"

cat >"$E2E_WORK/prometheus.yml" <<EOF
global:
  scrape_interval: 1s
  scrape_timeout: 900ms
scrape_configs:
  - job_name: tarvik
    static_configs:
      - targets: ['127.0.0.1:$metricsPort']
EOF
prometheus --config.file="$E2E_WORK/prometheus.yml" --storage.tsdb.path="$E2E_WORK/tsdb" \
  --web.listen-address="127.0.0.1:$promPort" --log.level=warn >"$E2E_WORK/prometheus.out" 2>&1 &
E2E_PIDS+=("$!")
e2e_log "prometheus on 127.0.0.1:$promPort scrapes 127.0.0.1:$metricsPort"

e2e_start_program tarvik
e2e_wait_started 40

# Prometheus reports the target up once it scraped it.
e2e_poll 30 python3 "$client" up "$promPort" >/dev/null 2>&1 ||
  e2e_fail "prometheus never saw the target up: $(python3 "$client" query "$promPort" up 2>&1)"
e2e_log "prometheus: up = 1"

# The first ping cycle comes 10 s after the start; then the sent count holds for a minute.
pinged() { grep -q '^ping 127.0.0.1 sent [1-9]' "$readout" 2>/dev/null; }
e2e_poll 40 pinged || e2e_fail "the loopback host was never pinged: $(cat "$readout" 2>&1)"
same_values() { python3 "$client" compare "$promPort" "$readout" 127.0.0.1 >"$E2E_WORK/compare.out"; }
e2e_poll 20 same_values || {
  cat "$E2E_WORK/compare.out" >&2
  e2e_fail "Prometheus and the program's cells disagree"
}
e2e_log "prometheus holds what the cells show: $(tr '\n' ';' <"$E2E_WORK/compare.out")"
python3 "$client" label "$promPort" tarvik_ping_sent_total description >"$E2E_WORK/label.out"
[[ "$(cat "$E2E_WORK/label.out")" == 'lo "one"' ]] ||
  e2e_fail "the host's description did not reach Prometheus intact: $(cat "$E2E_WORK/label.out")"

# promtool accepts a page with every family; only the battery's is missing, Wine has no battery.
python3 "$client" page "$metricsPort" >"$E2E_WORK/page.txt" || e2e_fail "the page was not served"
promtool check metrics <"$E2E_WORK/page.txt" >"$E2E_WORK/promtool.out" 2>&1 ||
  e2e_fail "promtool refuses the page: $(head -n 20 "$E2E_WORK/promtool.out")"
for family in tarvik_processor_load_ratio tarvik_processor_load_average_ratio \
  tarvik_processor_frequency_hertz tarvik_processor_max_frequency_hertz \
  tarvik_memory_physical_total_bytes tarvik_memory_physical_available_bytes \
  tarvik_memory_page_file_total_bytes tarvik_memory_page_file_available_bytes \
  tarvik_power_on_mains tarvik_system_uptime_seconds tarvik_drive_size_bytes \
  tarvik_drive_free_bytes tarvik_drive_events_total tarvik_network_receive_bytes_total \
  tarvik_network_transmit_bytes_total tarvik_network_receive_packets_total \
  tarvik_network_transmit_packets_total tarvik_network_receive_errors_total \
  tarvik_network_transmit_errors_total tarvik_network_link_speed_bytes_per_second \
  tarvik_network_up tarvik_internet_connected tarvik_ping_rtt_seconds tarvik_ping_sent_total \
  tarvik_ping_lost_total tarvik_ping_paused tarvik_gpu_temperature_celsius tarvik_gpu_load_ratio \
  tarvik_gpu_memory_used_bytes tarvik_gpu_memory_total_bytes tarvik_gpu_clock_hertz \
  tarvik_gpu_power_watts tarvik_gpu_fan_ratio tarvik_gpu_performance_state \
  process_cpu_seconds_total process_resident_memory_bytes process_start_time_seconds \
  tarvik_uptime_seconds tarvik_build_info; do
  grep -q "^# TYPE $family " "$E2E_WORK/page.txt" || e2e_fail "the page lacks $family"
done
e2e_log "promtool accepts the page: $(wc -l <"$E2E_WORK/page.txt") lines, $(wc -c <"$E2E_WORK/page.txt") bytes"

for request in "GET /" "POST /metrics" "DELETE /metrics"; do
  read -r method path <<<"$request"
  status=$(python3 "$client" status "$metricsPort" "$method" "$path")
  [[ $status == "HTTP/1.1 404 Not Found" || $status == "HTTP/1.1 405 Method Not Allowed" ]] ||
    e2e_fail "$request was answered $status"
done
python3 "$client" idle "$metricsPort" 50 >"$E2E_WORK/idle.out" 2>&1 ||
  e2e_fail "a scrape among 50 idle connections: $(cat "$E2E_WORK/idle.out")"
e2e_log "$(cat "$E2E_WORK/idle.out")"
python3 "$client" bighead "$metricsPort" 1048576 >"$E2E_WORK/head.out" 2>&1 ||
  e2e_fail "the 1 MiB head was answered: $(cat "$E2E_WORK/head.out")"
e2e_log "$(tail -n 1 "$E2E_WORK/head.out")"
python3 "$client" page "$metricsPort" >/dev/null || e2e_fail "no page after the 1 MiB head"

# Quit with connections open: the listener closes them and does not hold up the shut-down.
python3 "$client" hold-idle "$metricsPort" 6 30 >"$E2E_WORK/held.out" 2>&1 &
E2E_PIDS+=("$!")
e2e_poll "$helperSeconds" grep -q '^holding' "$E2E_WORK/held.out" ||
  e2e_fail "the idle connections never opened"
e2e_quit tarvik 5
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"

# Another program on the port: the program starts all the same and its log says why nothing
# listens.
python3 "$client" hold "$metricsPort" 60 >"$E2E_WORK/hold.out" 2>&1 &
E2E_PIDS+=("$!")
e2e_poll "$helperSeconds" grep -q '^holding' "$E2E_WORK/hold.out" ||
  e2e_fail "the port could not be held"
e2e_start_program again
e2e_wait_started 40
e2e_quit again 5
log=$(find "$E2E_DATA" -maxdepth 1 -name 'TK??????.log' | head -n 1)
[[ -n "$log" ]] || e2e_fail "no log file in $E2E_DATA"
grep -q "Metrics: http://127.0.0.1:$metricsPort/metrics Port already in use" "$log" ||
  e2e_fail "the log does not tell of the taken port: $(tr -d '\r' <"$log" | tail -n 5)"
e2e_log "the taken port is in the log"
e2e_log "passed"
