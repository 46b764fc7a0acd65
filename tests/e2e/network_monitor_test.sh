#!/usr/bin/env bash
# The network monitor under Wine, read back through the probe's read-out: the machine's adapter
# that has moved bytes (Wine lists the host's interfaces; like Windows, it leaves the loopback
# interface out of the adapter list) is numbered N1, has its block in the network information
# list and its item in the mini window with the bytes sent and received, and the external
# address lookup reads its answer from a local server (the probe points the lookup at it), whose
# request log shows the request.
# Then the answer turns hostile, as anyone on the way of its plain HTTP could make it. F5 on the
# Networks tab asks again each time: a bell, a direction override and 5,000 characters reach the
# list cleaned and cut; an address followed by a forged log record makes the lookup a failure,
# which, like a service that is gone, leaves the last good block as it was, time included. A
# lookup to a service that never answers does not hold up closing. The month's log, with network
# events logged, holds one record a line and nothing forged.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TARVIK_PROBE_EXE:?TARVIK_PROBE_EXE must name TarvikProbe.exe}"
TARVIK_EXE=$TARVIK_PROBE_EXE

e2e_require_no_program
e2e_new_data_folder
readout="$E2E_DATA/probe-readout.txt"
# The flags of the packed option string: position n is option 64 + n. On: 7 (save network events
# to the log) and 12 (log file).
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\nLogpath = 0\r\n' \
  "000000100001$(printf '0%.0s' {1..14})8040$(printf '0%.0s' {1..20})" >"$E2E_DATA/Tarvik.ini"
log="$E2E_DATA/TK$(date +%Y%m).log"

# The service's answer, as a file the server gives for /json/ whatever the query.
service="$E2E_WORK/service"
mkdir -p "$service/json"
answer() {
  printf '%s' "$1" >"$service/json/index.html"
}
answer '{"status":"success","Query":"127.0.0.9","As":"AS0 Loopback","city":"Localhost","lat":1.5}'
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

e2e_wait_started 40
main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_key "$main" ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
e2e_poll 3 e2e_tab_is 4 || e2e_fail "the Networks tab is not selected ($(e2e_selected_tab))"

requests() {
  grep -c 'GET /json/' "$E2E_WORK/server.out" 2>/dev/null
}
# F5, then waits until the service saw the request and a few passes and read-outs went by.
refresh_and_wait_for_request() {
  local before
  before=$(requests)
  e2e_key "$main" F5
  more_requests() { (($(requests) > before)); }
  e2e_poll 10 more_requests || e2e_fail "F5 made no request to the service"
  sleep 1.5
}
heading() {
  grep -m 1 '^info \[-- IP Lookup' "$readout" 2>/dev/null
}

# Hostile texts: cleaned and cut before they reach the list.
answer '{"status":"success","query":"127.0.0.10","city":"Be\u0007rn\u202Eevil","isp":"'"$(printf 'x%.0s' {1..5000})"'"}'
e2e_key "$main" F5
e2e_poll 20 info_has "External IP       127.0.0.10" || e2e_fail "the second answer is not shown"
info_has "City              Bernevil]" || e2e_fail "the city is not cleaned: $(grep '^info \[City' "$readout")"
grep -qxF "info [ISP: $(printf 'x%.0s' {1..64})]" "$readout" ||
  e2e_fail "the ISP is not cut at 64 characters: $(grep '^info \[ISP' "$readout" | head -c 200)"
! LC_ALL=C grep -qP '[\x00-\x08\x0B-\x1F\x7F]|\xE2\x80[\xAA-\xAE]' "$readout" ||
  e2e_fail "a control character or direction override reached the list"
shown=$(heading)
e2e_log "hostile texts cleaned under $shown"

# An address followed by a forged log record is no address: the lookup failed, nothing changes.
answer '{"status":"success","query":"127.0.0.11\r\n01000000 C:+ 0 1 forged"}'
refresh_and_wait_for_request
[[ "$(heading)" == "$shown" ]] || e2e_fail "a failed lookup changed the block's time: $(heading)"
info_has "External IP       127.0.0.10" || e2e_fail "a failed lookup took the last address away"
! grep -q '127\.0\.0\.11' "$readout" || e2e_fail "the forged answer's address is shown"

# The service gone: the same.
kill "$server" && wait "$server" 2>/dev/null
e2e_key "$main" F5
sleep 2
[[ "$(heading)" == "$shown" ]] || e2e_fail "a lookup without its service changed the block: $(heading)"
info_has "External IP       127.0.0.10" || e2e_fail "a lookup without its service took the address away"
e2e_log "after a forged answer and without the service the block still reads $(heading)"

# A service that takes the request and never answers: closing does not wait for it.
python3 -c '
import socket, sys, time
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1])))
s.listen(8)
held = []
while True:
    held.append(s.accept()[0])
' "$port" >"$E2E_WORK/silent.out" 2>&1 &
E2E_PIDS+=("$!")
sleep 0.5
e2e_key "$main" F5
sleep 1
e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"

# One record a line: the header, then stamped records only.
[[ -s "$log" ]] || e2e_fail "no log file $(basename "$log"): $(e2e_data_listing)"
if grep -qvE "^('|[0-9]{8} )" "$log"; then
  e2e_fail "the log holds a line that is no record: $(grep -vE "^('|[0-9]{8} )" "$log" | head -3)"
fi
! grep -q forged "$log" || e2e_fail "the forged record reached the log"
grep -q '^[0-9]\{8\} External IP: 127\.0\.0\.10.$' "$log" ||
  e2e_fail "the log lacks the new external address: $(cat "$log")"
e2e_log "log: $(wc -l <"$log") lines, each a record"
e2e_log "passed"
