#!/usr/bin/env bash
# The About tab shows the program's own cost, read from the real process: Ctrl+C on the tab puts
# the title, the file panel and the cost read-out on the clipboard, with sane figures (memory in
# use, the program's threads and handles, passes of the system sampler in the last minute).
# With E2E_SHOTS set to a folder, a screenshot of the tab is left there.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder
e2e_start_program tarvik
e2e_wait_started 40

main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_poll 3 e2e_tab_is 0 || e2e_fail "the System panel is not selected ($(e2e_selected_tab))"
e2e_key "$main" ctrl+shift+Tab
e2e_poll 3 e2e_tab_is 7 || e2e_fail "the About panel is not selected ($(e2e_selected_tab))"
sleep 3
if [[ -n "${E2E_SHOTS:-}" ]]; then
  import -window root "$E2E_SHOTS/about-${LANG%%.*}.png" >/dev/null 2>&1 || e2e_log "no screenshot"
fi
e2e_key "$main" ctrl+c

title_matches() {
  # shellcheck disable=SC2053 # the title is matched against a glob pattern
  [[ "$(xdotool getwindowname "$main" 2>/dev/null)" == $1 ]]
}
e2e_poll 5 title_matches 'Saved to Clipboard: [0-9]* Lines' ||
  e2e_fail "the title does not report the copy: '$(xdotool getwindowname "$main")'"

copied="$E2E_WORK/clipboard.txt"
timeout 5 xclip -selection clipboard -o >"$copied" 2>/dev/null || e2e_fail "nothing on the clipboard"
e2e_log "clipboard: $(tr '\n' '|' <"$copied")"
expect_line() {
  grep -Eq "$1" "$copied" || e2e_fail "the copy lacks a line like '$1'"
}
expect_line '^Tarvik v2\.33 x64 '
expect_line '^ *INI File: '
expect_line "^Tarvik's own cost$"
expect_line '^CPU, last 10 s: +[0-9]+\.[0-9]% of one core, +[0-9]+\.[0-9]{2}% of the machine$'
expect_line '^CPU, since start: +[0-9]+\.[0-9]% of one core, +[0-9]+\.[0-9]{2}% of the machine$'
expect_line '^Passes in the last minute:$'
expect_line '^  System +[1-9][0-9]*  \([0-9]+\.[0-9] ms\)$'

figure() {
  sed -nE "s/.*$1: ([0-9]+)(\.[0-9])?.*/\1/p" "$copied" | head -n 1
}
working=$(figure 'Working set')
threads=$(figure 'Threads')
handles=$(figure 'Handles')
[[ -n "$working" && "$working" -ge 1 ]] || e2e_fail "working set of '$working' MB"
# The window thread and five monitors at least.
[[ -n "$threads" && "$threads" -ge 6 ]] || e2e_fail "$threads threads"
[[ -n "$handles" && "$handles" -gt 0 ]] || e2e_fail "$handles handles"
e2e_log "working set $working MB, $threads threads, $handles handles"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
