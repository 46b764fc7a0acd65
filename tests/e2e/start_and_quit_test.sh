#!/usr/bin/env bash
# Tarvik starts portable from its own folder, shows the main window and the mini window, and ends
# through its own shut-down path, with exit code 0, when another program posts the registered
# quit message.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder
e2e_start_program tarvik
e2e_wait_started 40

visible=$(e2e_x_windows visible | wc -l)
[[ "$visible" -eq 2 ]] || e2e_fail "expected 2 visible windows of the program, found $visible"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
[[ -z "$(e2e_x_windows)" ]] || e2e_fail "a window of the program outlived it"
e2e_log "passed"
