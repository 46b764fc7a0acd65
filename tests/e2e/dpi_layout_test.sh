#!/usr/bin/env bash
# The main window at the screen's DPI and after the DPI changes, on a 1280x800 screen:
#  - at 96 DPI it keeps its size; its rectangle lies inside the work area, and the probe finds the
#    rightmost and lowest control of every tab inside its page and the page inside the client
#    area; moved off the screen (its monitor unplugged), it comes back when the displays change;
#  - told by WM_DPICHANGED that its monitor is at 144 DPI, it takes the suggested place and lays
#    itself out exactly as a start at 144 DPI does: at the largest scale that fits the screen.
# Wine reads the DPI (LogPixels) at each program's start, so the second start sees 144.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TARVIK_PROBE_EXE:?TARVIK_PROBE_EXE must name TarvikProbe.exe}"
TARVIK_EXE=$TARVIK_PROBE_EXE

DESKTOP_KEY='HKCU\Control Panel\Desktop'
readout="$E2E_DATA/probe-readout.txt"

# The DPI goes back to the screen's own whatever happens to the test.
restore_dpi() {
  wine reg delete "$DESKTOP_KEY" /v LogPixels /f >>"$E2E_WORK/reg.out" 2>&1
}
trap 'code=$?; restore_dpi; (exit "$code"); e2e_cleanup' EXIT

layout="$E2E_WORK/layout.txt"

# Reads the main window's layout once: "window x y w h", "client w h", then its controls.
snapshot() {
  e2e_tool layout "$TARVIK_TITLE" && cp "$E2E_TOOL_OUT" "$layout"
}

# From the last snapshot: the outer rectangle and the client size, "x y w h cw ch".
window_line() {
  echo "$(sed -n 's/^window //p' "$layout") $(sed -n 's/^client //p' "$layout")"
}

inside_work_area() {
  snapshot || return 1
  local x y w h
  read -r x y w h _ <<<"$(window_line)"
  ((x >= workX && y >= workY && x + w <= workX + workWidth && y + h <= workY + workHeight))
}

# The probe's line per tab: its controls' right and bottom, the page's, and the client size.
tabs_fit() {
  [[ $(grep -c '^tab ' "$readout" 2>/dev/null) -eq 8 ]] || return 1
  awk '$1 == "tab" && !($3 <= $5 && $4 <= $6 && $5 <= $7 && $6 <= $8) { bad = 1 }
       END { exit bad }' "$readout"
}

# Start-up has settled once the layout stays the same for a second and the probe reads 8 tabs.
wait_settled() {
  local before="" now
  local deadline=$((${EPOCHREALTIME//[.,]/} + 60 * 1000000))
  while ((${EPOCHREALTIME//[.,]/} < deadline)); do
    now=""
    snapshot && now=$(md5sum <"$layout")
    if [[ -n "$now" && "$now" == "$before" && $(grep -c '^tab ' "$readout" 2>/dev/null) -eq 8 ]]; then
      return 0
    fi
    before=$now
    sleep 1
  done
  e2e_fail "the main window did not settle within 60 s"
}

check_fit() {
  local what=$1
  inside_work_area ||
    e2e_fail "$what: the main window ($(window_line)) is not inside the work area ($workX $workY $workWidth $workHeight)"
  e2e_poll 5 tabs_fit || {
    grep '^tab ' "$readout" >&2
    e2e_fail "$what: a tab's controls reach past its page or the client area"
  }
  e2e_log "$what: window and client $(window_line); every tab's controls inside"
}

e2e_require_no_program
e2e_new_data_folder
restore_dpi
e2e_tool workarea || e2e_fail "tk-tool could not read the work area"
read -r workX workY workWidth workHeight <"$E2E_TOOL_OUT"

# At the screen's 96 DPI.
e2e_start_program tarvik96
e2e_wait_started 30
wait_settled
check_fit "96 DPI"

# Its monitor unplugged: the window was left off the screen; the displays change.
e2e_tool moveto "$TARVIK_TITLE" 1500 900 || e2e_fail "tk-tool could not move the main window"
e2e_tool displaychange || e2e_fail "tk-tool could not send the display change"
e2e_poll 5 inside_work_area || e2e_fail "after the displays changed the main window stays at $(window_line)"
e2e_log "after the displays changed: $(window_line)"

# The monitor's DPI becomes 144; the system suggests a place.
e2e_tool dpichanged "$TARVIK_TITLE" 144 40 30 1350 884 || e2e_fail "tk-tool could not send WM_DPICHANGED"
e2e_poll 5 inside_work_area || e2e_fail "after the DPI change the main window lies at $(window_line)"
read -r x y w h clientWidth _ <<<"$(window_line)"
expectedY=$((30 < workHeight - h ? 30 : workHeight - h))
[[ $x -eq 40 && $y -eq $expectedY ]] ||
  e2e_fail "after the DPI change the window is at $x,$y; the suggested place kept inside the work area is 40,$expectedY"
((clientWidth > MAIN_WIDTH)) || e2e_fail "after the DPI change the client is $clientWidth wide, no larger than at 96 DPI"
wait_settled
check_fit "after WM_DPICHANGED to 144"
grep -v '^window ' "$layout" >"$E2E_WORK/layout-changed.txt"
e2e_quit tarvik96 10

# A start at 144 DPI lays the window out the same way.
wine reg add "$DESKTOP_KEY" /v LogPixels /t REG_DWORD /d 144 /f >>"$E2E_WORK/reg.out" 2>&1 ||
  e2e_fail "could not set the DPI to 144"
rm -f "$readout"
e2e_start_program tarvik144
e2e_poll 60 snapshot || e2e_fail "no main window at 144 DPI within 60 s"
wait_settled
check_fit "started at 144"
grep -v '^window ' "$layout" >"$E2E_WORK/layout-started.txt"
diff "$E2E_WORK/layout-changed.txt" "$E2E_WORK/layout-started.txt" >"$E2E_WORK/layout.diff" ||
  e2e_fail "the layout after WM_DPICHANGED differs from a start at 144 DPI (see layout.diff)"
e2e_log "the layout after WM_DPICHANGED equals a start at 144 DPI: $(head -n 1 "$E2E_WORK/layout-started.txt")"
e2e_quit tarvik144 10
e2e_log "passed"
