#!/usr/bin/env bash
# A quit that comes while the program starts (a quick log-off after an autostart, another program
# posting the quit message) never costs the ping list: with TK-Ping.json and its backup
# TK-Ping.bak there, the registered quit message is posted 0, 0.5 and 1 s after the first window
# appears. After each run the list still reads with all its hosts; a file the program had not
# read yet is byte for byte as it was, the backup too, and one it read and saved again still
# holds every host.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

first_window_exists() {
  [[ -n "$(e2e_x_windows)" ]]
}

# "address answered" for each host of a ping list file.
hosts_of() {
  python3 -c '
import json, sys
for host in json.load(open(sys.argv[1])):
    print(host["Addr"])' "$1"
}

e2e_require_no_program
list="$E2E_WORK/list.json"
python3 "$TARVIK_REPO/scripts/lib/loss-run.py" write "$list" 3 || e2e_fail "no ping list"
for delay in 0 0.5 1; do
  rm -rf "$E2E_DATA"
  e2e_new_data_folder
  cp "$list" "$E2E_DATA/TK-Ping.json" && cp "$list" "$E2E_DATA/TK-Ping.bak"
  e2e_start_program "quit-$delay"
  e2e_poll 30 first_window_exists || e2e_fail "no window of the program within 30 s"
  sleep "$delay"
  e2e_quit "quit-$delay" 40
  [[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit $delay s in"
  [[ -s "$E2E_DATA/TK-Ping.json" ]] || e2e_fail "TK-Ping.json is gone or empty after $delay s"
  [[ "$(hosts_of "$E2E_DATA/TK-Ping.json")" == "$(hosts_of "$list")" ]] ||
    e2e_fail "TK-Ping.json lost hosts after a quit $delay s in: $(head -c 300 "$E2E_DATA/TK-Ping.json")"
  if cmp -s "$list" "$E2E_DATA/TK-Ping.json"; then
    cmp -s "$list" "$E2E_DATA/TK-Ping.bak" ||
      e2e_fail "TK-Ping.bak changed although the list was never read ($delay s)"
    e2e_log "quit $delay s after the first window: both files as they were"
  else
    e2e_log "quit $delay s after the first window: the list was read and saved with its hosts"
  fi
done
e2e_log "passed"
