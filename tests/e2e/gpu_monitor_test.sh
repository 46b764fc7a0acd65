#!/usr/bin/env bash
# The GPU monitor end to end, over a fake nvml.dll of our own at the NVIDIA program folder of the
# prefix that serves two cards, the second unable to read its temperature, fan and power and
# falling off the bus after six readings: the first card goes on with its cell and graphs, the
# second shows lost in its cell, the summary list and the detail list, with one system event;
# the temperature graph reads out in degrees under the mouse; the Graphics tab's copy holds the
# summaries, one line each, and the detail list; and the program ends normally. A libcuda.dll
# beside the program, which the library looks for by bare name, is never loaded. Without the
# library the detail list shows the requirements, no GPU monitor runs, and an nvml.dll beside the
# program is not loaded either.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TARVIK_PROBE_EXE:?TARVIK_PROBE_EXE must name TarvikProbe.exe}"
: "${TARVIK_FAKE_NVML:?TARVIK_FAKE_NVML must name the fake nvml.dll}"
: "${TARVIK_PLANTED_DLL:?TARVIK_PLANTED_DLL must name the library that marks its loading}"
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

# How many rows of a list hold the text.
list_rows() {
  grep -c -F "$2" <(grep "^list $1 \[" "$readout" 2>/dev/null)
}

# A library laid down as <name> in the data folder, which marks the folder when it is loaded.
plant() {
  cp "$TARVIK_PLANTED_DLL" "$E2E_DATA/$1" || e2e_fail "cannot lay $1 beside the program"
}

not_loaded() {
  [[ ! -e "$E2E_DATA/$1.loaded" ]] || e2e_fail "the $1 beside the program was loaded"
}

card_lost_shown() {
  [[ -s $readout ]] || return 1
  [[ "$(readout_value 'meter 41')" == 'G0  43C  41%' && "$(readout_value 'meter 42')" == 'G1  #15' ]] &&
    [[ $(graph_count 800) -ge 1 && $(graph_count 815) -ge 1 ]] &&
    [[ $(list_rows 140 '[1] Fake Card B  GPU lost (15)') == 1 ]] &&
    [[ $(list_rows 140 '[0] Fake Card A') == 1 ]] &&
    grep -q '^list 140 \[NVidia Devices *2\]' "$readout" &&
    grep -q '^list 140 \[NVidia Cuda *12.04\]' "$readout" &&
    grep -q '^list 140 \[NVidia Driver *551.23\]' "$readout" &&
    [[ $(list_rows 136 $' - G1\t#15\tGPU lost') == 1 ]] &&
    [[ $(list_rows 129 'G1 Fake Card B: GPU lost (15)') == 1 ]]
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
plant libcuda.dll
e2e_start_program tarvik
e2e_wait_started 40
e2e_poll 30 card_lost_shown || {
  cat "$readout" >&2 2>/dev/null
  e2e_fail "the lost card is not shown"
}
[[ "$(readout_value gpu-monitor)" == 1 ]] || e2e_fail "the GPU monitor does not run"
e2e_log "second card lost: $(readout_value 'meter 41') / $(readout_value 'meter 42')"
samples=$(graph_count 800)
sleep 4
[[ $(graph_count 800) -gt $samples && "$(readout_value 'meter 41')" == 'G0  43C  41%' ]] ||
  e2e_fail "the first card stopped after the second was lost"
[[ $(list_rows 129 'GPU lost') == 1 && $(list_rows 136 'GPU lost') == 1 ]] ||
  e2e_fail "the loss was told more than once: $(grep 'GPU lost' "$readout")"
not_loaded libcuda.dll

main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_key "$main" ctrl+Tab ctrl+Tab
e2e_poll 3 e2e_tab_is 2 || e2e_fail "the Graphics panel is not selected ($(e2e_selected_tab))"
e2e_tool gadget "$TARVIK_TITLE" 155 || e2e_fail "no temperature graph on the Graphics tab"
read -r gx gy gw gh <"$E2E_TOOL_OUT"
# Two pixel columns from the right edge stands the sample before the newest.
xdotool mousemove "$((gx + gw - 2))" "$((gy + gh / 2))" 2>/dev/null
readout_shown() {
  [[ "$(xdotool getwindowname "$main" 2>/dev/null)" =~ ^Position:\ 2/[0-9]+\ =\ .*\ 43C$ ]]
}
e2e_poll 5 readout_shown || e2e_fail "no read-out over the temperature graph: $(xdotool getwindowname "$main")"
e2e_log "temperature read-out: $(xdotool getwindowname "$main")"
if [[ -n "${TARVIK_E2E_SCREENSHOTS:-}" ]]; then
  import -window root "$TARVIK_E2E_SCREENSHOTS/graphics-tab-lost-card.png" >/dev/null 2>&1
fi

e2e_key "$main" ctrl+c
copied="$E2E_WORK/clipboard.txt"
copy_made() {
  e2e_clipboard >"$copied" 2>/dev/null && grep -q 'Serial Number *0321' "$copied"
}
e2e_poll 10 copy_made || e2e_fail "the Graphics tab's copy is missing: $(head -c 600 "$copied")"
grep -q $'G0\t37%  1500MHz\t12%  5000MHz  1024M\t43C\t41%\tP2 120W' "$copied" ||
  e2e_fail "the copy lacks the first card's summary: $(head -c 600 "$copied")"
grep -q $' - G1\t#15\tGPU lost$' "$copied" ||
  e2e_fail "the copy lacks the lost card's summary on one line: $(head -c 600 "$copied")"
e2e_log "the Graphics tab's copy holds $(wc -l <"$copied") lines"

e2e_quit tarvik 6
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
not_loaded libcuda.dll

rm -f "$nvsmi/nvml.dll" "$readout"
plant nvml.dll
e2e_start_program bare
e2e_wait_started 40
e2e_poll 10 requirements_shown || {
  cat "$readout" >&2 2>/dev/null
  e2e_fail "without the library the requirements are not shown"
}
e2e_log "without the library: requirements shown, no GPU monitor"
e2e_quit bare 4
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code $E2E_EXIT_CODE after the quit message, expected 0"
not_loaded nvml.dll
e2e_log "passed"
