# shellcheck shell=bash disable=SC2034 # the constants are read by the tests that source this
# Shared helpers of the end-to-end tests: each test sources this file, gets a fresh data folder
# with its own copy of Tarvik.exe, drives the program through X (xdotool, xclip) and tk-tool.exe,
# and leaves nothing running behind it, pass or fail.
#
# ctest gives TARVIK_EXE, TK_TOOL and TARVIK_REPO. The Wine session (DISPLAY, WINEPREFIX) is the
# one scripts/test.sh started; without one, the test starts a private session of its own.
#
# Wine's output is never read through $(...) or a pipe (the processes it starts would hold the
# pipe open): tk-tool writes to a file and the helpers read the file.

set -u

: "${TARVIK_EXE:?TARVIK_EXE must name Tarvik.exe}"
: "${TK_TOOL:?TK_TOOL must name tk-tool.exe}"
: "${TARVIK_REPO:?TARVIK_REPO must name the repository}"

TARVIK_TITLE='Tarvik v2.33 x64 426.9423'
# Client-area sizes: the main window, the second copy's notice, the mini window's width.
MAIN_WIDTH=894
MAIN_HEIGHT=564
NOTICE_WIDTH=300
NOTICE_HEIGHT=70
MINI_WIDTH=234
# How long the set of windows must stay unchanged before start-up counts as finished.
E2E_SETTLE_SECONDS=1.5

E2E_NAME=$(basename "$0" .sh)
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarvik-$E2E_NAME.XXXXXX")
E2E_DATA="$E2E_WORK/data"
E2E_TOOL_OUT="$E2E_WORK/tool.out"
E2E_STARTED=$EPOCHREALTIME
E2E_FAILED=0
E2E_EXIT_CODE=""
E2E_PIDS=()
declare -A E2E_PROGRAM_PID=()

e2e_log() {
  printf '[%6s s] %s\n' "$(e2e_seconds_since "$E2E_STARTED")" "$*"
}

e2e_fail() {
  E2E_FAILED=1
  echo "FAIL: $*" >&2
  exit 1
}

# Seconds since a value of $EPOCHREALTIME, with two decimals.
e2e_seconds_since() {
  local startMicros=${1//[.,]/} nowMicros=${EPOCHREALTIME//[.,]/}
  local hundredths=$(((10#$nowMicros - 10#$startMicros) / 10000))
  printf '%d.%02d' $((hundredths / 100)) $((hundredths % 100))
}

e2e_cleanup() {
  local code=$?
  # A failure keeps its folder for a look; an interrupted run (Ctrl+C, TERM) does not.
  if [[ $code -eq 130 || $code -eq 143 ]]; then
    E2E_FAILED=0
  elif [[ $code -ne 0 ]]; then
    E2E_FAILED=1
  fi
  if [[ $E2E_FAILED -ne 0 ]]; then
    import -window root "$E2E_WORK/screen.png" >/dev/null 2>&1
  fi
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    if kill -KILL "$pid" 2>/dev/null; then
      wait "$pid" 2>/dev/null
    fi
  done
  if [[ $E2E_FAILED -ne 0 ]]; then
    local out
    for out in "$E2E_WORK"/*.out "$E2E_WORK"/*.err; do
      [[ -s "$out" ]] || continue
      echo "--- $(basename "$out") (last lines)"
      tail -n 20 "$out"
    done
    echo "kept: $E2E_WORK (screen.png shows the screen at the failure)"
  fi
  # A private session lives in the work folder: stop it before the folder goes.
  if declare -F wine_session_stop >/dev/null; then
    wine_session_stop
  fi
  [[ $E2E_FAILED -ne 0 ]] || rm -rf "$E2E_WORK"
  exit "$code"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Run alone (not from scripts/test.sh), a test brings its own display and prefix.
if [[ -z "${WINEPREFIX:-}" || -z "${DISPLAY:-}" ]]; then
  # shellcheck source=../../scripts/lib/wine-session.sh disable=SC1091
  source "$TARVIK_REPO/scripts/lib/wine-session.sh"
  wine_session_start "$E2E_WORK/session" || e2e_fail "could not start a Wine session"
  trap e2e_cleanup EXIT
fi

# A fresh data folder: a copy of Tarvik.exe with an empty Tarvik.ini beside it, which makes the
# program portable, so everything it writes stays in this folder.
e2e_new_data_folder() {
  mkdir -p "$E2E_DATA" || e2e_fail "cannot create $E2E_DATA"
  cp "$TARVIK_EXE" "$E2E_DATA/Tarvik.exe" || e2e_fail "cannot copy $TARVIK_EXE"
  : >"$E2E_DATA/Tarvik.ini"
}

# Starts Tarvik.exe from the data folder; <name> labels its output file and its process.
e2e_start_program() {
  local name=$1
  (cd "$E2E_DATA" && exec wine "$E2E_DATA/Tarvik.exe") >"$E2E_WORK/$name.out" 2>&1 &
  local pid=$!
  E2E_PIDS+=("$pid")
  E2E_PROGRAM_PID[$name]=$pid
  e2e_log "started $name (pid $pid)"
}

e2e_program_running() {
  kill -0 "${E2E_PROGRAM_PID[$1]}" 2>/dev/null
}

# Waits up to <seconds> for the program <name> to end and puts its exit code in E2E_EXIT_CODE.
# Returns 1 when it is still running at the limit. (Not for $(...): only this shell can wait.)
e2e_wait_exit() {
  local name=$1 seconds=$2
  local pid=${E2E_PROGRAM_PID[$name]}
  local deadline=$((${EPOCHREALTIME//[.,]/} + seconds * 1000000))
  E2E_EXIT_CODE=""
  while kill -0 "$pid" 2>/dev/null; do
    ((${EPOCHREALTIME//[.,]/} < deadline)) || return 1
    sleep 0.05
  done
  E2E_EXIT_CODE=0
  wait "$pid" || E2E_EXIT_CODE=$?
}

# Runs tk-tool.exe with the arguments; its standard output lands in $E2E_TOOL_OUT.
e2e_tool() {
  local code=0
  timeout 20 wine "$TK_TOOL" "$@" >"$E2E_TOOL_OUT.raw" 2>"$E2E_WORK/tool.err" || code=$?
  tr -d '\r' <"$E2E_TOOL_OUT.raw" >"$E2E_TOOL_OUT"
  return "$code"
}

# Repeats a command until it succeeds or <seconds> pass; returns the command's last result.
e2e_poll() {
  local seconds=$1
  shift
  local deadline=$((${EPOCHREALTIME//[.,]/} + seconds * 1000000))
  until "$@"; do
    ((${EPOCHREALTIME//[.,]/} < deadline)) || return 1
    sleep 0.1
  done
}

# The program's top-level windows into $E2E_TOOL_OUT, one a line: the client area (its top-left
# corner on the screen, width, height), 1 when visible, then the outer rectangle (x y w h).
e2e_client_areas() {
  e2e_tool client "$TARVIK_TITLE"
}

# Prints the line of e2e_client_areas for the visible window with a client area of <w> x <h>
# (<h> may be "*"); fails when there is none.
e2e_window_line() {
  local w=$1 h=$2
  e2e_client_areas || return 1
  local x y cw ch visible rest
  while read -r x y cw ch visible rest; do
    if [[ "$cw" == "$w" && ("$h" == "*" || "$ch" == "$h") && "$visible" == 1 ]]; then
      echo "$x $y $cw $ch $visible $rest"
      return 0
    fi
  done <"$E2E_TOOL_OUT"
  return 1
}

# True when a visible window of the program has a client area of <w> x <h>; <h> may be "*".
e2e_has_client() {
  e2e_window_line "$1" "$2" >/dev/null
}

# The program's X windows, whatever their titles say (the mini window's title shows what the
# chosen title-bar mode shows): Wine names their class after the program file, Tarvik.exe.
e2e_x_windows() {
  local only=()
  [[ "${1:-}" == visible ]] && only=(--onlyvisible)
  xdotool search "${only[@]}" --classname '^tarvik\.exe$' 2>/dev/null
}

# The X window of the visible window with a client area of <w> x <h>. Wine gives each top-level
# window one X window: its client area when a window manager draws the frame, the whole window
# when Wine draws it, so the X window's geometry equals one of the two rectangles.
e2e_x_window_of() {
  local line
  line=$(e2e_window_line "$1" "$2") || return 1
  local cx cy cw ch visible ox oy ow oh
  read -r cx cy cw ch visible ox oy ow oh <<<"$line"
  local id X Y WIDTH HEIGHT geometry
  for id in $(e2e_x_windows visible); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    geometry="$X $Y $WIDTH $HEIGHT"
    if [[ "$geometry" == "$cx $cy $cw $ch" || "$geometry" == "$ox $oy $ow $oh" ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# "x y" of an X window's top-left corner on the screen.
e2e_x_position() {
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | grep -E '^(X|Y)=')"
  echo "$X $Y"
}

# Waits until the main window and the mini window are both shown and start-up has settled: the
# mini window first serves as the progress window and is opened again at the end of start-up, so
# the set of windows must stay the same for a while before a test may rely on it.
e2e_wait_started() {
  local seconds=$1
  local deadline=$((${EPOCHREALTIME//[.,]/} + seconds * 1000000))
  local before="" now
  while ((${EPOCHREALTIME//[.,]/} < deadline)); do
    if e2e_has_client "$MAIN_WIDTH" "$MAIN_HEIGHT" && e2e_has_client "$MINI_WIDTH" '*'; then
      now=$(e2e_x_windows visible | LC_ALL=C sort | tr '\n' ' ')
      if [[ -n "$before" && "$now" == "$before" ]]; then
        e2e_log "main window and mini window shown"
        return 0
      fi
      before=$now
      sleep "$E2E_SETTLE_SECONDS"
    else
      before=""
      sleep 0.1
    fi
  done
  e2e_has_client "$MAIN_WIDTH" "$MAIN_HEIGHT" ||
    e2e_fail "no main window (client ${MAIN_WIDTH}x$MAIN_HEIGHT) within $seconds s"
  e2e_has_client "$MINI_WIDTH" '*' ||
    e2e_fail "no mini window (client width $MINI_WIDTH) within $seconds s"
  e2e_fail "the program's windows did not settle within $seconds s"
}

# Clicks into the client area of the window of <w> x <h> at client position <dx>,<dy>, which
# makes that window Wine's active window; keys reach only the active window.
e2e_click_client() {
  local w=$1 h=$2 dx=$3 dy=$4
  local line x y
  line=$(e2e_window_line "$w" "$h") || e2e_fail "no window with client ${w}x$h to click"
  read -r x y _ <<<"$line"
  xdotool mousemove "$((x + dx))" "$((y + dy))" click 1 2>/dev/null
}

# Shows the Ping tab of the main window (a click into it, then Ctrl+Tab to the sixth panel) and
# puts the main window's X window in E2E_MAIN.
e2e_show_ping_tab() {
  E2E_MAIN=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") ||
    e2e_fail "no X window for the main window"
  e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
  for _ in 1 2 3 4 5; do e2e_key "$E2E_MAIN" ctrl+Tab; done
  e2e_poll 3 e2e_tab_is 5 || e2e_fail "the Ping panel is not selected ($(e2e_selected_tab))"
}

# On the Ping tab: types <text> into the host or address entry in place of what it shows, and
# presses Return.
e2e_type_ping_entry() {
  e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 150 62
  e2e_key "$E2E_MAIN" End shift+Home
  xdotool type --window "$E2E_MAIN" --delay 50 "$1" 2>/dev/null
  e2e_key "$E2E_MAIN" Return
}

# Sends keys (xdotool names, e.g. ctrl+Tab) to an X window.
e2e_key() {
  local window=$1
  shift
  xdotool key --window "$window" --delay 50 "$@" 2>/dev/null
}

# The clipboard's text, read as X sees it.
e2e_clipboard() {
  timeout 5 xclip -selection clipboard -o
}

# The panel selector's current tab, as the window itself answers it.
e2e_selected_tab() {
  e2e_tool tab "$TARVIK_TITLE" || return 1
  head -n 1 "$E2E_TOOL_OUT"
}

e2e_tab_is() {
  [[ "$(e2e_selected_tab)" == "$1" ]]
}

# Posts the registered quit message and waits up to <seconds> for <name> to end; its exit code
# lands in E2E_EXIT_CODE. Fails the test when the program is still running at the limit.
e2e_quit() {
  local name=$1 seconds=$2
  local posted=$EPOCHREALTIME
  e2e_tool post WM_DEACTIVATEOLDINST_TK || e2e_fail "tk-tool could not post the quit message"
  e2e_wait_exit "$name" "$seconds" ||
    e2e_fail "$name still running $seconds s after the quit message"
  e2e_log "$name ended with code $E2E_EXIT_CODE $(e2e_seconds_since "$posted") s after posting the quit message"
}

# No copy of the program may be running when a test starts: it would make ours a second copy.
e2e_require_no_program() {
  if [[ -n "$(e2e_x_windows)" ]]; then
    e2e_fail "a window of the program already exists on $DISPLAY"
  fi
}

# Every file of the data folder with its size and modification time, one per line.
e2e_data_listing() {
  (cd "$E2E_DATA" && find . -printf '%p %s %T@\n' | LC_ALL=C sort)
}
