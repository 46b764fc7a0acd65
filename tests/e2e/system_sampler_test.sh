#!/usr/bin/env bash
# The system sampler runs from start-up. With the title bar set to show physical memory, the
# mini window's title shows the available memory and its percent ("8123M 52% Phys"); set to show
# the processor, it shows a load that is not zero while a core is kept busy ("52% 2.6GHz").
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder

# The flags of a fresh file; the title-bar mode stands at position 28.
flags=100000000000000000000000000

# Starts the program with the title-bar mode given and waits until a window's title matches.
# <mode digit> <seconds> <what, for the message> <extended regular expression>
start_until_title() {
  local mode=$1 seconds=$2 what=$3 pattern=$4
  config="${flags:0:26}8${mode}40$(printf '0%.0s' {1..20})"
  printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\n' "$config" >"$E2E_DATA/Tarvik.ini"
  e2e_start_program tarvik
  title_matches() {
    local window
    for window in $(xdotool search --name "$pattern" 2>/dev/null); do
      if xdotool getwindowname "$window" | grep -qE "$pattern"; then
        e2e_log "mini window title: $(xdotool getwindowname "$window")"
        return 0
      fi
    done
    return 1
  }
  e2e_poll "$seconds" title_matches || e2e_fail "no window titled with $what"
}

start_until_title 1 40 "the memory text" '^ ?[0-9.]+[MG] +[0-9]+% Phys$'

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"

# Title-bar mode 3 shows the processor; a shell loop keeps one core busy meanwhile.
(
  end=$((SECONDS + 20))
  while ((SECONDS < end)); do :; done
) &
busy=$!
E2E_PIDS+=("$busy")
start_until_title 3 15 "a processor load above 0" '^ ?([1-9][0-9]?%|MAX) .*Hz'
kill "$busy" 2>/dev/null

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
