#!/usr/bin/env bash
# With "Enable Log File", "Save System Events to Log" and "Restore previous session events on
# startup" on, two runs in a row leave this month's log file with its header and the closing
# record of each run, and a TK-Saga.json whose events the second run shows again in the System
# Events list (read back through the System panel's copy).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder

# The flags of the packed option string: position n is option 64 + n. On: 9 (save system events
# to the log), 10 (restore events), 12 (log file), 20 (tray icon), 21 (minimise to tray).
flags=00000000110100000001100000
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\nLogpath = 0\r\n' \
  "${flags}8040$(printf '0%.0s' {1..20})" >"$E2E_DATA/Tarvik.ini"
log="$E2E_DATA/TK$(date +%Y%m).log"
saga="$E2E_DATA/TK-Saga.json"

run_once() {
  e2e_start_program tarvik
  e2e_wait_started 40
}

run_once
e2e_quit tarvik 6
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the first run"
[[ -s "$log" ]] || e2e_fail "no log file $(basename "$log") after the first run: $(e2e_data_listing)"
head -1 "$log" | grep -q "^'File Created by Tarvik v2.33 x64 426.9423 on [0-9]\{4\}-" ||
  e2e_fail "the log file lacks its header: $(head -c 300 "$log")"
grep -q "Tarvik v2.33 started" "$saga" 2>/dev/null || e2e_fail "TK-Saga.json lacks the start: $(head -c 400 "$saga" 2>/dev/null)"
grep -q "Tarvik v2.33 stopped" "$saga" || e2e_fail "TK-Saga.json lacks the stop"
e2e_log "first run: $(wc -l <"$log") log lines, TK-Saga.json $(wc -c <"$saga") bytes"

run_once
main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_poll 3 e2e_tab_is 0 || e2e_fail "the System panel is not selected ($(e2e_selected_tab))"
e2e_key "$main" ctrl+c
title_matches() {
  [[ "$(xdotool getwindowname "$main" 2>/dev/null)" == 'Saved to Clipboard: '* ]]
}
e2e_poll 5 title_matches || e2e_fail "the copy was not reported: '$(xdotool getwindowname "$main")'"
copied="$E2E_WORK/clipboard.txt"
timeout 5 xclip -selection clipboard -o >"$copied" 2>/dev/null || e2e_fail "nothing on the clipboard"
# This run's start, then the first run's stop and start below it.
events=$(grep -E '^[0-9]{2}-[0-9]{2}  [0-9:]{8} - Tarvik v2.33 (started|stopped)$' "$copied" |
  sed 's/.* - Tarvik v2.33 //' | tr '\n' ' ')
[[ "$events" == "started stopped started " ]] ||
  e2e_fail "the System Events list shows '$events', expected this run's start and the first run's events: $(cat "$copied")"
e2e_log "second run's System Events: $events"

e2e_quit tarvik 6
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the second run"
closings=$(grep -c '^[0-9]\{8\} Tarvik v2.33 x64 426.9423 closed. Uptime: ' "$log")
[[ "$closings" == 2 ]] || e2e_fail "the log holds $closings closing records, expected 2: $(cat "$log")"
headers=$(grep -c "^'File Created by" "$log")
[[ "$headers" == 1 ]] || e2e_fail "the log holds $headers headers, expected 1"
# Both runs' starts, in the System and the Network Events lists.
starts=$(grep -c "Tarvik v2.33 started" "$saga")
[[ "$starts" == 4 ]] || e2e_fail "TK-Saga.json holds $starts starts, expected 2 in each of 2 lists"
e2e_log "passed"
