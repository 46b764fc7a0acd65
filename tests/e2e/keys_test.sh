#!/usr/bin/env bash
# Keyboard shortcuts of the main window: Ctrl+Tab and Ctrl+Shift+Tab step through the eight
# panels and wrap; Ctrl+arrow moves the mini window 1 pixel and Shift+arrow 10 pixels, except
# in a focused field, where they keep their own meaning.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder
e2e_start_program tarvik
e2e_wait_started 40

main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
mini=$(e2e_x_window_of "$MINI_WIDTH" '*') || e2e_fail "no X window for the mini window"

# The first tab's header sits at the top left of the panel selector: clicking it activates the
# main window without changing the panel.
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_poll 3 e2e_tab_is 0 || e2e_fail "the first panel is not selected at start ($(e2e_selected_tab))"

# The clicked main window overlaps the mini window, which stays on top: on the X screen too
# (xwininfo lists the screen's windows from the top down).
main_has_focus() {
  [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$main" ]]
}
mini_above_main() {
  xwininfo -root -children 2>/dev/null |
    awk -v mini="$(printf '0x%x' "$mini")" -v main="$(printf '0x%x' "$main")" '
      $1 == main { seenMain = NR } $1 == mini { seenMini = NR }
      END { exit !(seenMini && seenMain > seenMini) }'
}
e2e_poll 3 main_has_focus || e2e_fail "the clicked main window did not take the focus"
e2e_poll 3 mini_above_main || e2e_fail "the clicked main window covers the always-on-top mini window"

# Each case: keys, then the panel that must be selected afterwards.
tabCases=("ctrl+Tab 1" "ctrl+shift+Tab 0" "ctrl+shift+Tab 7" "ctrl+Tab 0")
for tabCase in "${tabCases[@]}"; do
  keys=${tabCase% *} expected=${tabCase#* }
  e2e_key "$main" "$keys"
  e2e_poll 3 e2e_tab_is "$expected" ||
    e2e_fail "$keys: panel $(e2e_selected_tab), expected $expected"
  e2e_log "$keys selects panel $expected"
done

mini_moved_to() {
  [[ "$(e2e_x_position "$mini")" == "$1 $2" ]]
}

# Each case: keys, then the expected move. Shift+Left goes first so that the 1-pixel step to the
# right cannot meet the right edge of the desktop, where the mini window starts.
moveCases=("shift+Left -10 0" "ctrl+Right 1 0" "shift+Down 0 10" "ctrl+Up 0 -1")
for moveCase in "${moveCases[@]}"; do
  read -r keys dx dy <<<"$moveCase"
  read -r x y <<<"$(e2e_x_position "$mini")"
  e2e_key "$main" "$keys"
  e2e_poll 3 mini_moved_to $((x + dx)) $((y + dy)) ||
    e2e_fail "$keys: mini window at $(e2e_x_position "$mini"), expected $((x + dx)) $((y + dy))"
  e2e_log "$keys moves the mini window by $dx,$dy"
done

# A focused field keeps Shift+arrows and Ctrl+C: they select and copy its text, and neither the
# mini window moves nor a panel copy lands. These keys go through XTEST, as a keyboard's would,
# to the field with the focus: the Ping panel's host entry, at client 158,60.
e2e_key "$main" ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
e2e_poll 3 e2e_tab_is 5 || e2e_fail "the Ping panel is not selected ($(e2e_selected_tab))"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 158 60
xdotool type --delay 50 abcdef 2>/dev/null
read -r x y <<<"$(e2e_x_position "$mini")"
xdotool key --delay 80 shift+Left shift+Left shift+Left ctrl+c 2>/dev/null
clipboard_is() {
  [[ "$(e2e_clipboard)" == "$1" ]]
}
e2e_poll 3 clipboard_is def || e2e_fail "Ctrl+C in the field copied [$(e2e_clipboard)], expected [def]"
mini_moved_to "$x" "$y" || e2e_fail "Shift+Left in the field moved the mini window to $(e2e_x_position "$mini")"
e2e_log "Shift+Left selects and Ctrl+C copies in a focused field"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
