#!/usr/bin/env bash
# A Tarvik.ini beside the program is read at start (window positions, options) and, with
# "Remember Window Positions" on, written back at exit with the positions the windows had then.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder

# Flag 25 is "Remember Window Positions"; transparency step 8, title mode 0, the rest zero.
flags=000000000000000000000000100
config="${flags:0:26}800$(printf '0%.0s' {1..21})"
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\nDigits = v100w120x300y200\r\n' "$config" \
  >"$E2E_DATA/Tarvik.ini"

e2e_start_program tarvik
e2e_wait_started 40

outer_position_is() {
  local line
  line=$(e2e_window_line "$1" "$2") || return 1
  read -r _ _ _ _ _ ox oy _ <<<"$line"
  [[ "$ox $oy" == "$3 $4" ]]
}
e2e_poll 3 outer_position_is "$MAIN_WIDTH" "$MAIN_HEIGHT" 100 120 ||
  e2e_fail "main window not at the saved 100,120: $(e2e_window_line "$MAIN_WIDTH" "$MAIN_HEIGHT")"
e2e_poll 3 outer_position_is "$MINI_WIDTH" '*' 300 200 ||
  e2e_fail "mini window not at the saved 300,200: $(e2e_window_line "$MINI_WIDTH" '*')"
e2e_log "both windows opened where the settings file put them"

main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_key "$main" shift+Down
e2e_poll 3 outer_position_is "$MINI_WIDTH" '*' 300 210 ||
  e2e_fail "Shift+Down did not move the mini window: $(e2e_window_line "$MINI_WIDTH" '*')"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"

expected=$(printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\nDigits = v100w120x300y210\r\n' "$config")
written=$(cat "$E2E_DATA/Tarvik.ini")
[[ "$written" == "$expected"* ]] ||
  e2e_fail "Tarvik.ini does not start as expected; it holds: $(od -c "$E2E_DATA/Tarvik.ini" | head -8)"
[[ ! -e "$E2E_DATA/Tarvik.ini.new" ]] || e2e_fail "a temporary file was left beside Tarvik.ini"
e2e_log "passed"
