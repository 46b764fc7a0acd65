#!/usr/bin/env bash
# The network monitor under Wine, read back through the probe's read-out: the machine's adapter
# that has moved bytes (Wine lists the host's interfaces; like Windows, it leaves the loopback
# interface out of the adapter list) is numbered N1, has its block in the network information
# list and its item in the mini window with the bytes sent and received, and the external
# address lookup reads its answer from a local server (the probe points the lookup at it), whose
# request log shows the request. With the service gone, F5 on the Networks tab asks again, and
# the list shows a clean "not detected" line instead of the address it had.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TARVIK_PROBE_EXE:?TARVIK_PROBE_EXE must name TarvikProbe.exe}"
TARVIK_EXE=$TARVIK_PROBE_EXE

e2e_require_no_program
e2e_new_data_folder
readout="$E2E_DATA/probe-readout.txt"

# The service's answer, as a file the server gives for /json/ whatever the query.
service="$E2E_WORK/service"
mkdir -p "$service/json"
cat >"$service/json/index.html" <<'JSON'
{"status":"success","Query":"127.0.0.9","As":"AS0 Loopback","city":"Localhost","lat":1.5}
JSON
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$service" "$port" \
  >"$E2E_WORK/server.out" 2>&1 &
server=$!
E2E_PIDS+=("$server")
serving() {
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/json/', timeout=2)" \
    2>/dev/null
}
e2e_poll 10 serving || e2e_fail "the local service did not start"

export TARVIK_TEST_LOCALE_SERVICE="http://127.0.0.1:$port"
e2e_start_program tarvik

info_has() {
  grep -qF "info [$1" "$readout" 2>/dev/null
}

# The first adapter that moved bytes: its block's heading "-- N1:<index> <time>".
e2e_poll 30 info_has "-- N1:" || {
  cat "$readout" >&2 2>/dev/null
  e2e_fail "the information list has no block of a monitored adapter"
}
e2e_poll 20 info_has "External IP       127.0.0.9" || {
  grep '^info' "$readout" >&2 2>/dev/null
  e2e_fail "the lookup's answer is not shown"
}
info_has "AS1: AS0 Loopback" || e2e_fail "the member \"As\" did not fill AS1"
info_has "Latitude          1.5" || e2e_fail "the latitude is not shown"
grep -q 'GET /json/?fields=status,message,continent,.*,reverse,query' "$E2E_WORK/server.out" ||
  e2e_fail "the service saw no request of the expected shape"
e2e_log "lookup: $(grep -c '^info' "$readout") information lines"

# Its item: the tag, then the bytes sent in the last second and in all, then the same received.
grep -qE '^meter 49 \[N1 +(--|[0-9.]+[BKMGT]) +[0-9.]+[BKMGT!]+ /' "$readout" || {
  grep '^meter' "$readout" >&2
  e2e_fail "the adapter's item does not show its traffic"
}
e2e_log "item: $(grep '^meter 49 ' "$readout" | tr -d '\r')"
# The send and receive graphs take a sample a second.
graph_sampled() {
  grep -qE "^graph $1 [1-9]" "$readout" 2>/dev/null
}
e2e_poll 10 graph_sampled 305 && graph_sampled 306 || e2e_fail "the network graphs have no samples"

kill "$server" && wait "$server" 2>/dev/null
e2e_wait_started 40
main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_key "$main" ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
e2e_poll 3 e2e_tab_is 4 || e2e_fail "the Networks tab is not selected ($(e2e_selected_tab))"
e2e_key "$main" F5
e2e_poll 20 info_has "-- IP Lookup: Not Detected" || {
  grep '^info' "$readout" | head -n 20 >&2
  e2e_fail "a lookup without its service does not show as not detected"
}
! info_has "External IP" || e2e_fail "the old external address is still shown"
e2e_log "without the service: $(grep -m 1 '^info \[-- IP' "$readout" | tr -d '\r')"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
