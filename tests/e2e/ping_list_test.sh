#!/usr/bin/env bash
# The ping list of TK-Ping.json is pinged after start: the active loopback host gains replies and
# the paused one paused samples only. An address typed into the address entry with Return is
# added and pinged, and the quit message saves all three.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder

# Only "Enable Always on Top" on; the entry takes addresses (8 0 4 1), slow responses from
# 100 ms, a ping every second.
flags=100000000000000000000000000
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\n' "${flags}8041100$(printf '0%.0s' {1..17})" \
  >"$E2E_DATA/Tarvik.ini"
host() {  # address, address value, sort key, active
  printf '{"Init":"1765000000.%s","Actv":%s,"Sent":0,"Recv":0,"Lost":0,"Time":0,"Best":-1,' "$4" "$4"
  printf '"Wors":-1,"Down":0,"PTTL":0,"PTOS":0,"Last":0,"Valu":%s,"Sort":%s,"HiLi":0,' "$2" "$3"
  printf '"CFor":0,"CBak":0,"Host":"","Addr":"%s","PV":[]}' "$1"
}
printf '[%s,%s]' "$(host 127.0.0.1 16777343 127000000001 1)" \
  "$(host 127.0.0.2 33554559 127000000002 0)" >"$E2E_DATA/TK-Ping.json"

e2e_start_program tarvik
e2e_wait_started 40
e2e_show_ping_tab
# The address entry: its "0.0.0.0" replaced, then Return.
e2e_type_ping_entry 127.0.0.3
sleep 14

e2e_quit tarvik 6
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"

# Each host as "address sent received paused-samples answered-samples".
summary=$(python3 - "$E2E_DATA/TK-Ping.json" <<'PY'
import json, sys
for host in json.load(open(sys.argv[1])):
    samples = [s["T"] for s in host["PV"]]
    print(host["Addr"], host["Sent"], host["Recv"], samples.count(-4), sum(t >= 0 for t in samples))
PY
) || e2e_fail "TK-Ping.json does not read: $(head -c 300 "$E2E_DATA/TK-Ping.json")"
e2e_log "saved hosts: $(tr '\n' ';' <<<"$summary")"
read -r _ sent received paused answered < <(grep '^127.0.0.1 ' <<<"$summary")
((received >= 3 && received == sent && paused == 0 && answered == received)) ||
  e2e_fail "127.0.0.1 was not pinged as expected: $summary"
read -r _ sent received paused answered < <(grep '^127.0.0.2 ' <<<"$summary")
((sent == 0 && paused >= 3 && answered == 0)) ||
  e2e_fail "the paused 127.0.0.2 was pinged or gained no paused samples: $summary"
read -r _ sent received _ < <(grep '^127.0.0.3 ' <<<"$summary") ||
  e2e_fail "the typed 127.0.0.3 was not added: $summary"
((received >= 1)) || e2e_fail "the typed 127.0.0.3 was not pinged: $summary"
e2e_log "passed"
