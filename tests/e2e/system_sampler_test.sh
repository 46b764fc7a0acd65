#!/usr/bin/env bash
# The system sampler runs from start-up. With the title bar set to show physical memory, the
# mini window's title shows the available memory and its percent ("8123M 52% Phys"); set to show
# the processor, it shows a load that is not zero while a core is kept busy ("52% 2.6GHz").
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder

# Title-bar mode 1 (position 28) shows physical memory; the rest of a fresh file.
flags=100000000000000000000000000
config="${flags:0:26}8140$(printf '0%.0s' {1..20})"
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\n' "$config" >"$E2E_DATA/Tarvik.ini"

e2e_start_program tarvik
mini_title_shows_memory() {
  local window
  for window in $(xdotool search --name ' Phys$' 2>/dev/null); do
    xdotool getwindowname "$window" | grep -qE '^ ?[0-9.]+[MG] +[0-9]+% Phys$' && return 0
  done
  return 1
}
e2e_poll 40 mini_title_shows_memory || e2e_fail "no window titled with the memory text"
e2e_log "mini window title: $(xdotool getwindowname "$(xdotool search --name ' Phys$' | head -1)")"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"

# Title-bar mode 3 shows the processor; a shell loop keeps one core busy meanwhile.
config="${flags:0:26}8340$(printf '0%.0s' {1..20})"
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s\r\n' "$config" >"$E2E_DATA/Tarvik.ini"
(
  end=$((SECONDS + 20))
  while ((SECONDS < end)); do :; done
) &
busy=$!
E2E_PIDS+=("$busy")
e2e_start_program tarvik
mini_title_shows_load() {
  local window
  for window in $(xdotool search --name 'Hz' 2>/dev/null); do
    xdotool getwindowname "$window" | grep -qE '^ ?([1-9][0-9]?%|MAX) ' && return 0
  done
  return 1
}
e2e_poll 15 mini_title_shows_load || e2e_fail "no window titled with a processor load above 0"
e2e_log "mini window title: $(xdotool getwindowname "$(xdotool search --name 'Hz' | head -1)")"
kill "$busy" 2>/dev/null

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
