#!/usr/bin/env bash
# A second copy started from the same folder shows its 300x70 notice, asks the running copy to
# show itself, ends on its own within about 6 s with exit code 0, leaves the first copy running,
# and neither creates nor changes any file in the data folder. The first copy starts minimized to
# the tray, so the second copy's request is what brings its mini window back into view.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder
# Flag 13 is "Start Minimized"; the tray icon and "Minimize button minimizes program to tray"
# (flags 20 and 21) are on, so both windows stay hidden.
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\n' \
  "00000000000010000001100000800000000000000000000000" >"$E2E_DATA/Tarvik.ini"
e2e_start_program first

# Started means: both windows exist, neither is shown, and that has stayed so for a moment.
started_hidden() {
  e2e_client_areas || return 1
  local main=0 shown=0 x y w h visible rest
  while read -r x y w h visible rest; do
    [[ "$w $h" == "$MAIN_WIDTH $MAIN_HEIGHT" ]] && main=1
    [[ "$visible" == 1 ]] && shown=1
  done <"$E2E_TOOL_OUT"
  [[ $main == 1 && $shown == 0 ]]
}
e2e_poll 40 started_hidden || e2e_fail "the first copy did not start with both windows hidden"
sleep "$E2E_SETTLE_SECONDS"
started_hidden || e2e_fail "the first copy's windows did not stay hidden"
e2e_log "first copy started minimized to the tray"

before=$(e2e_data_listing)
hourBefore=$(date +%H)
e2e_start_program second
e2e_poll 5 e2e_has_client "$NOTICE_WIDTH" "$NOTICE_HEIGHT" ||
  e2e_fail "no notice window (client ${NOTICE_WIDTH}x$NOTICE_HEIGHT) from the second copy"
e2e_log "second copy shows its notice"

e2e_wait_exit second 8 || e2e_fail "the second copy was still running after 8 s"
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "the second copy ended with code $E2E_EXIT_CODE, expected 0"
e2e_log "second copy ended with code 0"

e2e_program_running first || e2e_fail "the first copy ended when the second one started"
e2e_has_client "$MINI_WIDTH" '*' || e2e_fail "the second copy did not bring back the mini window"
e2e_has_client "$MAIN_WIDTH" "$MAIN_HEIGHT" && e2e_fail "the main window was shown too"
e2e_has_client "$NOTICE_WIDTH" "$NOTICE_HEIGHT" &&
  e2e_fail "the notice window outlived the second copy"

after=$(e2e_data_listing)
if [[ "$after" != "$before" ]]; then
  # The running copy saves its state files at the turn of each hour; only then may it differ.
  [[ "$(date +%H)" != "$hourBefore" ]] ||
    e2e_fail "the data folder changed while the second copy ran:"$'\n'"$(diff <(echo "$before") <(echo "$after"))"
  e2e_log "the hour turned during the test; the folder comparison proves nothing this time"
fi

e2e_quit first 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "the first copy ended with code $E2E_EXIT_CODE, expected 0"
e2e_log "passed"
