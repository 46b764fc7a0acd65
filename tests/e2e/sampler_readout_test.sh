#!/usr/bin/env bash
# What the system sampler shows, read back through the probe's read-out of the cells and graphs:
# after a few seconds the Phys, Page, CPU, Uptime and Idle cells hold values of their own shape,
# the System graphs have samples, and while a shell loop keeps a core busy some processor graph
# holds a load above zero.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TARVIK_PROBE_EXE:?TARVIK_PROBE_EXE must name TarvikProbe.exe}"
TARVIK_EXE=$TARVIK_PROBE_EXE

e2e_require_no_program
e2e_new_data_folder
readout="$E2E_DATA/probe-readout.txt"

(
  end=$((SECONDS + 30))
  while ((SECONDS < end)); do :; done
) &
E2E_PIDS+=("$!")

e2e_start_program tarvik

# The cell of a meter as the read-out last showed it, without its brackets.
cell() {
  sed -n "s/^meter $1 \[\(.*\)\]\r\?$/\1/p" "$readout" 2>/dev/null
}

# The sample count and highest sample of a graph: "<count> <highest>".
graph() {
  sed -n "s/^graph $1 \([0-9]*\) \([0-9.e+-]*\)\r\?$/\1 \2/p" "$readout" 2>/dev/null
}

cells_have_values() {
  [[ -s $readout ]] || return 1
  [[ $(cell 28) =~ ^\ ?[0-9.]{1,4}[MG]\ +[0-9]{1,3}%$ ]] &&
    [[ $(cell 29) =~ ^\ ?[0-9.]{1,4}[MG]\ +[0-9]{1,3}%$ ]] &&
    [[ $(cell 30) =~ ^\ *([0-9]{1,2}%|MAX)\ +[0-9.]+[MG]Hz|^\ ?[0-9]+x[0-9]+MHz ]] &&
    [[ $(cell 32) =~ ^\ *([0-9]+[dhm]\ ?)*([0-9]{2}s)?\ *$ && $(cell 32) =~ [0-9] ]] &&
    [[ $(cell 33) =~ ^\ ?[0-9]+[dhms]|^= ]]
}

graphs_have_samples() {
  local id count highest
  for id in 301 302 303 307; do
    read -r count highest <<<"$(graph $id)"
    [[ ${count:-0} -ge 1 ]] || return 1
  done
}

# Some processor graph (ids after the System graphs) holds a sample above zero.
a_processor_was_busy() {
  awk '$1 == "graph" && $2 > 308 && $3 > 0 && $4 > 0 { found = 1 } END { exit !found }' \
    "$readout" 2>/dev/null
}

e2e_poll 40 cells_have_values || {
  cat "$readout" >&2 2>/dev/null
  e2e_fail "the cells do not show plausible values"
}
e2e_log "cells: Phys [$(cell 28)] Page [$(cell 29)] CPU [$(cell 30)] Uptime [$(cell 32)] Idle [$(cell 33)]"
e2e_poll 15 graphs_have_samples || {
  cat "$readout" >&2
  e2e_fail "the System graphs have no samples"
}
e2e_poll 15 a_processor_was_busy || {
  cat "$readout" >&2
  e2e_fail "no processor graph shows a load while a core is busy"
}
e2e_log "graphs: $(grep '^graph' "$readout" | tr -d '\r' | tr '\n' ';')"

e2e_quit tarvik 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
