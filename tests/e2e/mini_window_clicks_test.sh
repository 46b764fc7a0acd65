#!/usr/bin/env bash
# In compact mode ("Borderless Window") the mini window has no title bar: its cells open the
# main window's panels, and its caption cell "[X]" ends the program through its own shut-down.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder

# Flag 23 is "Borderless Window"; transparency step 8, title mode 0, the rest zero.
flags=000000000000000000000010000
config="${flags:0:26}800$(printf '0%.0s' {1..21})"
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\n' "$config" >"$E2E_DATA/Tarvik.ini"

e2e_start_program tarvik
e2e_wait_started 40

# Cells are 8 pixels a column from x 2, rows start at y 0: the CPU cell fills row 2 from
# column 1, the caption cells "[-]", "[+]", "[X]" take columns 21-29 of row 1.
e2e_click_client "$MINI_WIDTH" '*' 20 17
e2e_poll 3 e2e_tab_is 1 || e2e_fail "the CPU cell opened panel $(e2e_selected_tab), expected 1"
e2e_log "the CPU cell opens the Processors panel"

e2e_click_client "$MINI_WIDTH" '*' 222 5
e2e_wait_exit tarvik 10 || e2e_fail "still running 10 s after a click on the [X] cell"
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the [X] cell, expected 0"
e2e_log "the [X] cell ends the program"
e2e_log "passed"
