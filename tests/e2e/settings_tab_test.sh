#!/usr/bin/env bash
# The Settings tab shows the options of Tarvik.ini; clicking a check box changes its option and
# shows it, and closing the main window writes the changed option to Tarvik.ini at once.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder

# Flag 19 is "Enable Sound", flag 1 "Enable Always on Top"; the rest of a fresh file.
flags=100000000000000000100000000
config="${flags:0:26}8040$(printf '0%.0s' {1..20})"
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\n' "$config" >"$E2E_DATA/Tarvik.ini"

e2e_start_program tarvik
e2e_wait_started 40

check_state_is() {
  e2e_tool checked "$TARVIK_TITLE" "$1" && [[ "$(cat "$E2E_TOOL_OUT")" == "$2" ]]
}
e2e_poll 3 check_state_is "Enable Sound" 1 || e2e_fail "Enable Sound is not shown checked"
e2e_poll 3 check_state_is "Start Minimized" 0 || e2e_fail "Start Minimized is not shown unchecked"

# Select the Settings panel as a user would (Ctrl+Shift+Tab twice from the first panel).
main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_key "$main" ctrl+shift+Tab
e2e_key "$main" ctrl+shift+Tab
e2e_poll 3 e2e_tab_is 6 || e2e_fail "the Settings panel is not selected ($(e2e_selected_tab))"

e2e_tool click "$TARVIK_TITLE" "Enable Sound" || e2e_fail "could not click Enable Sound"
e2e_poll 3 check_state_is "Enable Sound" 0 || e2e_fail "Enable Sound still shown checked"
e2e_tool close "$TARVIK_TITLE" "$MAIN_WIDTH" || e2e_fail "could not close the main window"

config_written() {
  grep -q "Config = 100000000000000000000000008040" "$E2E_DATA/Tarvik.ini"
}
e2e_poll 5 config_written ||
  e2e_fail "Tarvik.ini does not hold the new Config: $(tr -d '\r' <"$E2E_DATA/Tarvik.ini")"
e2e_log "closing the main window wrote the changed option"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
