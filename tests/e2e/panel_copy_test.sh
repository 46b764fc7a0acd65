#!/usr/bin/env bash
# Ctrl+C on the System tab puts the system-information block on the clipboard; the main window's
# title says how many lines were saved, then shows the program's name again. (Wine hands the
# clipboard to X with plain line feeds, so the CR LF line ends are checked by the unit tests.)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder
e2e_start_program tarvik
e2e_wait_started 40

main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_poll 3 e2e_tab_is 0 || e2e_fail "the System panel is not selected ($(e2e_selected_tab))"
e2e_key "$main" ctrl+c

title_matches() {
  [[ "$(xdotool getwindowname "$main" 2>/dev/null)" == $1 ]]
}
e2e_poll 5 title_matches 'Saved to Clipboard: [0-9]* Lines' ||
  e2e_fail "the title does not report the copy: '$(xdotool getwindowname "$main")'"
e2e_log "title: $(xdotool getwindowname "$main")"
copied_at=$EPOCHREALTIME

copied="$E2E_WORK/clipboard.txt"
timeout 5 xclip -selection clipboard -o >"$copied" 2>/dev/null || e2e_fail "nothing on the clipboard"
grep -q '^OS: .* Build: [0-9]*.*, Computer Name: .*, User Name: ' "$copied" ||
  e2e_fail "the clipboard lacks the OS line: $(head -c 600 "$copied")"
lines=$(wc -l <"$copied")
reported=$(xdotool getwindowname "$main" | tr -dc '0-9')
[[ "$lines" == "$reported" ]] ||
  e2e_fail "the clipboard holds $lines lines, the title reported $reported"
e2e_log "the clipboard holds the system block in $lines lines"

e2e_poll 13 title_matches "$TARVIK_TITLE" ||
  e2e_fail "the title did not return: '$(xdotool getwindowname "$main")'"
e2e_log "the title returned to the program's name $(e2e_seconds_since "$copied_at") s later"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
