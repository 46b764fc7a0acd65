# shellcheck shell=bash
# A private Wine session: its own virtual X display and its own Wine prefix, so that test runs
# never meet each other's windows, mutexes or wineserver. Source this file, then:
#
#   wine_session_start <folder>   creates <folder>, starts Xvfb on a free display, builds a fresh
#                                 prefix in <folder>/prefix and keeps its wineserver running;
#                                 exports DISPLAY, WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES
#   wine_session_stop             ends that wineserver and that Xvfb, nothing else; safe to call
#                                 more than once
#
# wine_session_start installs an EXIT trap (and INT/TERM traps that exit) calling
# wine_session_stop, so an interrupted run leaves nothing behind. A caller that needs its own
# EXIT trap sets it after wine_session_start and calls wine_session_stop from it.
#
# Measured here: a fresh prefix takes about 10 s (wineboot -i) and 690 MB; a warm start of a small
# program afterwards takes about 0.1 s.
#
# Never read wine's output through $(...) or a pipe: the processes it starts keep the pipe open
# until the wineserver exits. Redirect to a file and read the file.

WINE_SESSION_FOLDER=""
WINE_SESSION_PREFIX=""
WINE_SESSION_XVFB_PID=""
WINE_SESSION_START_SECONDS=""

# Keeps a fresh prefix from offering to install Mono and Gecko (a dialog nobody would answer) and
# from writing menu entries into the user's home.
WINE_SESSION_DLL_OVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
WINE_SESSION_SCREEN='1280x800x24'

# Starts Xvfb on the first free display number (Xvfb picks it itself, so two sessions starting at
# the same moment cannot take the same one) and exports DISPLAY.
wine_session_start_display() {
  local folder=$1
  local displayFile="$folder/display"
  : >"$displayFile"
  Xvfb -displayfd 3 -screen 0 "$WINE_SESSION_SCREEN" -nolisten tcp -noreset \
    3>"$displayFile" >"$folder/xvfb.log" 2>&1 &
  WINE_SESSION_XVFB_PID=$!
  local tries
  for ((tries = 0; tries < 100; tries++)); do
    if [[ -s "$displayFile" ]] && grep -q '^[0-9][0-9]*$' "$displayFile"; then
      DISPLAY=":$(head -n 1 "$displayFile")"
      export DISPLAY
      return 0
    fi
    kill -0 "$WINE_SESSION_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "wine-session: Xvfb did not start (see $folder/xvfb.log)" >&2
  return 1
}

# Without a window manager Wine waits 2 s for every managed window it hides or destroys (the
# window-manager answer never comes). Unmanaged windows close at once; Wine draws their frames.
wine_session_unmanaged_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$1" 2>&1
}

wine_session_start() {
  local folder=${1:?wine_session_start needs a folder}
  local started=$EPOCHREALTIME
  mkdir -p "$folder" || return 1
  WINE_SESSION_FOLDER=$(cd "$folder" && pwd)
  trap wine_session_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  wine_session_start_display "$WINE_SESSION_FOLDER" || return 1

  WINE_SESSION_PREFIX="$WINE_SESSION_FOLDER/prefix"
  mkdir -p "$WINE_SESSION_PREFIX" || return 1
  export WINEPREFIX=$WINE_SESSION_PREFIX
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES=$WINE_SESSION_DLL_OVERRIDES

  # A persistent server first, so that every later wine call (ctest runs each test through a
  # pipe) finds it running instead of starting and waiting for one.
  if ! wineserver -p >"$WINE_SESSION_FOLDER/wineserver.log" 2>&1; then
    echo "wine-session: wineserver did not start (see $WINE_SESSION_FOLDER/wineserver.log)" >&2
    return 1
  fi
  local log="$WINE_SESSION_FOLDER/wineboot.log"
  if ! wine wineboot -i >"$log" 2>&1; then
    echo "wine-session: wineboot failed (see $log)" >&2
    return 1
  fi
  wine_session_unmanaged_windows "$log" || return 1
  wine cmd /c exit >"$WINE_SESSION_FOLDER/warm-up.log" 2>&1 || return 1

  WINE_SESSION_START_SECONDS=$(wine_session_seconds_since "$started")
  echo "wine-session: display $DISPLAY, prefix $WINEPREFIX, ready in ${WINE_SESSION_START_SECONDS} s"
}

wine_session_stop() {
  if [[ -n "$WINE_SESSION_PREFIX" ]]; then
    WINEPREFIX=$WINE_SESSION_PREFIX wineserver -k >/dev/null 2>&1
    WINEPREFIX=$WINE_SESSION_PREFIX timeout 15 wineserver -w >/dev/null 2>&1
    WINE_SESSION_PREFIX=""
  fi
  if [[ -n "$WINE_SESSION_XVFB_PID" ]]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null
    WINE_SESSION_XVFB_PID=""
  fi
  return 0
}

# Seconds since a start taken from $EPOCHREALTIME, with one decimal.
wine_session_seconds_since() {
  local startMicros=${1//[.,]/} nowMicros=${EPOCHREALTIME//[.,]/}
  local tenths=$(((10#$nowMicros - 10#$startMicros) / 100000))
  echo "$((tenths / 10)).$((tenths % 10))"
}
