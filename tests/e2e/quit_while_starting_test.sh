#!/usr/bin/env bash
# Another program may ask Tarvik to close while it is still starting: the registered quit
# message, posted as soon as the first window exists, ends the program once start-up is done,
# through its own shut-down path.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

first_window_exists() {
  [[ -n "$(e2e_x_windows)" ]]
}

e2e_require_no_program
e2e_new_data_folder
e2e_start_program tarvik
e2e_poll 30 first_window_exists || e2e_fail "no window of the program within 30 s"
e2e_log "first window exists"
e2e_quit tarvik 40
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
[[ -z "$(e2e_x_windows)" ]] || e2e_fail "a window of the program outlived it"
e2e_log "passed"
