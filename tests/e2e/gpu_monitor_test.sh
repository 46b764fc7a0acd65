#!/usr/bin/env bash
# The GPU monitor end to end, over a fake nvml.dll of our own at the NVIDIA program folder of the
# prefix that serves two cards, the second unable to read its temperature, fan and power: both
# cards get their cells and graphs, the detail list shows both cards and the library's
# versions, the Graphics tab's copy holds the summary and the detail list, and the program ends
# normally. Without the library the detail list shows the requirements and no GPU monitor runs.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TARVIK_PROBE_EXE:?TARVIK_PROBE_EXE must name TarvikProbe.exe}"
: "${TARVIK_FAKE_NVML:?TARVIK_FAKE_NVML must name the fake nvml.dll}"
TARVIK_EXE=$TARVIK_PROBE_EXE

# The prefix is shared with the other tests: the library leaves it with this test, pass or fail.
nvsmi="$WINEPREFIX/drive_c/Program Files/NVIDIA Corporation/NVSMI"
trap 'code=$?; rm -f "$nvsmi/nvml.dll"; rmdir "$nvsmi" "${nvsmi%/*}" 2>/dev/null; (exit $code); e2e_cleanup' EXIT

readout="$E2E_DATA/probe-readout.txt"

# A line of the read-out after its key, without brackets or carriage return.
readout_value() {
  sed -n "s/^$1 \[\?\([^]]*\)\]\?\r\?$/\1/p" "$readout" 2>/dev/null | head -n 1
}

graph_count() {
  sed -n "s/^graph $1 \([0-9]*\) .*$/\1/p" "$readout" 2>/dev/null
}

cards_shown() {
  [[ -s $readout ]] || return 1
  [[ "$(readout_value 'meter 41')" == 'G0  43C  41%' && "$(readout_value 'meter 42')" == 'G1' ]] &&
    [[ $(graph_count 800) -ge 1 && $(graph_count 815) -ge 1 ]] &&
    grep -q '^list 140 \[\[1\] Fake Card B\]' "$readout" &&
    grep -q '^list 140 \[NVidia Devices *2\]' "$readout" &&
    grep -q '^list 140 \[NVidia Cuda *12.04\]' "$readout" &&
    grep -q '^list 140 \[NVidia Driver *551.23\]' "$readout"
}

requirements_shown() {
  [[ -s $readout ]] || return 1
  [[ "$(readout_value nvml)" == 0 && "$(readout_value gpu-monitor)" == 0 ]] &&
    grep -q '^list 140 \[Requirements:\]' "$readout" &&
    grep -q '^list 140 \[No Supported Video Cards\]' "$readout"
}

e2e_require_no_program
mkdir -p "$nvsmi" && cp "$TARVIK_FAKE_NVML" "$nvsmi/nvml.dll" || e2e_fail "cannot place nvml.dll"
e2e_new_data_folder
e2e_start_program tarvik
e2e_wait_started 40
e2e_poll 20 cards_shown || {
  cat "$readout" >&2 2>/dev/null
  e2e_fail "the cards are not shown"
}
[[ "$(readout_value gpu-monitor)" == 1 ]] || e2e_fail "the GPU monitor does not run"
e2e_log "both cards shown: $(readout_value 'meter 41') / $(readout_value 'meter 42')"

main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_key "$main" ctrl+Tab ctrl+Tab
e2e_poll 3 e2e_tab_is 2 || e2e_fail "the Graphics panel is not selected ($(e2e_selected_tab))"
e2e_key "$main" ctrl+c
copied="$E2E_WORK/clipboard.txt"
copy_made() {
  e2e_clipboard >"$copied" 2>/dev/null && grep -q 'Serial Number *0321' "$copied"
}
e2e_poll 10 copy_made || e2e_fail "the Graphics tab's copy is missing: $(head -c 600 "$copied")"
grep -q 'G0	37%  1500MHz	12%  5000MHz  1024M	43C	41%	P2 120W' "$copied" ||
  e2e_fail "the copy lacks the first card's summary: $(head -c 600 "$copied")"
e2e_log "the Graphics tab's copy holds $(wc -l <"$copied") lines"

e2e_quit tarvik 6
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"

rm -f "$nvsmi/nvml.dll" "$readout"
e2e_start_program bare
e2e_wait_started 40
e2e_poll 10 requirements_shown || {
  cat "$readout" >&2 2>/dev/null
  e2e_fail "without the library the requirements are not shown"
}
e2e_log "without the library: requirements shown, no GPU monitor"
e2e_quit bare 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
e2e_log "passed"
