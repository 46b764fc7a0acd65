# shellcheck shell=bash
# A private Wine session: its own virtual X display and its own Wine prefix, so that test runs
# never meet each other's windows, mutexes or wineserver. Source this file, then:
#
#   wine_session_start <folder>   creates <folder>, starts Xvfb on a free display, builds a fresh
#                                 prefix in <folder>/prefix with Wine's own fonts in it and keeps
#                                 its wineserver running; exports DISPLAY, WINEPREFIX, WINEDEBUG,
#                                 WINEDLLOVERRIDES
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

# Wine's own fonts, as Debian's fonts-wine installs them: Marlett (the symbols of the caption
# buttons), Tahoma, MS Sans Serif and the bitmap system fonts. Debian's Wine 8 never loads them
# from there: it looks for them under "<data dir>\../fonts", a path its own file lookup rejects
# (a ".." component; "not found (c0000033)" with WINEDEBUG=+file), and fontconfig does not list
# the folder either. Without them Marlett falls back to an ordinary font and the caption buttons
# show "0", "1" and "r". The prefix's Windows font folder is read at every process start, so
# fonts copied there serve a new prefix and an existing one alike.
WINE_SESSION_FONT_SOURCE=/usr/share/wine/fonts

# Starts Xvfb on a free display number and exports DISPLAY. The number is drawn from a high
# range that other tools leave alone; a number taken meanwhile makes Xvfb fail, and the next is
# tried. Xvfb runs in its own session, so that a Ctrl+C meant for the calling script does not
# end the display under a program that is still shutting down.
wine_session_start_display() {
  local folder=$1
  local attempt number pid lock waited
  for ((attempt = 0; attempt < 20; attempt++)); do
    number=$((200 + RANDOM % 700))
    [[ -e "/tmp/.X$number-lock" || -e "/tmp/.X11-unix/X$number" ]] && continue
    setsid Xvfb ":$number" -screen 0 "$WINE_SESSION_SCREEN" -nolisten tcp -noreset \
      >"$folder/xvfb.log" 2>&1 &
    pid=$!
    for ((waited = 0; waited < 100; waited++)); do
      [[ -S "/tmp/.X11-unix/X$number" ]] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if [[ -S "/tmp/.X11-unix/X$number" ]] && kill -0 "$pid" 2>/dev/null; then
      # The lock file names the server itself, whatever setsid did to start it.
      lock=$(tr -dc '0-9' <"/tmp/.X$number-lock" 2>/dev/null)
      WINE_SESSION_XVFB_PID=${lock:-$pid}
      DISPLAY=":$number"
      export DISPLAY
      return 0
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  echo "wine-session: Xvfb did not start (see $folder/xvfb.log)" >&2
  return 1
}

# Without a window manager Wine waits 2 s for every managed window it hides or destroys (the
# window-manager answer never comes). Unmanaged windows close at once; Wine draws their frames.
wine_session_unmanaged_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$1" 2>&1
}

# Wine's desktop process (explorer.exe, which also shows the stand-in tray window and serves the
# clipboard to X) started with wineboot, before the settings above, and keeps what it read then:
# its tray window stayed managed, and every program that removed the last tray icon waited 2 s
# for it to hide. The whole server is started again, so that every process reads the settings
# (ending only the desktop process loses the clipboard). Measured: a program's shut-down took
# 2.08 s with the old desktop process and 0.09 s with a new one.
wine_session_restart_server() {
  wineserver -k >>"$1" 2>&1
  timeout 30 wineserver -w >>"$1" 2>&1
  wineserver -p >>"$1" 2>&1
}

# Wine has no Lucida Console; without a substitute it picks a proportional font, and the mini
# window's cells, laid out in character columns, no longer line up. Takes the wine command to
# run (plain wine, or a detached one).
WINE_SESSION_FONT_SUBSTITUTES='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
wine_session_font_substitutes() {
  "$@" reg add "$WINE_SESSION_FONT_SUBSTITUTES" /v 'Lucida Console' /d 'DejaVu Sans Mono' /f
}

# Copies Wine's own fonts into the Windows font folder of the prefix <prefix>; files already
# there and up to date are left alone, so calling it for every run of an existing prefix is cheap.
# Call it before the first wine call that starts the prefix's processes: a process that is
# already running does not see fonts added later.
wine_session_install_fonts() {
  local prefix=${1:?wine_session_install_fonts needs a prefix folder}
  local target="$prefix/drive_c/windows/Fonts"
  local fonts=("$WINE_SESSION_FONT_SOURCE"/*.ttf "$WINE_SESSION_FONT_SOURCE"/*.fon)
  if [[ ! -f "$WINE_SESSION_FONT_SOURCE/marlett.ttf" ]]; then
    echo "wine-session: Wine's fonts are missing in $WINE_SESSION_FONT_SOURCE" \
      "(install fonts-wine: scripts/setup.sh)" >&2
    return 1
  fi
  mkdir -p "$target" && cp -u "${fonts[@]}" "$target/"
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
  wine_session_install_fonts "$WINE_SESSION_PREFIX" || return 1

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
  wine_session_font_substitutes wine >>"$log" 2>&1 || return 1
  wine_session_restart_server "$log" || return 1
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
    local waited
    for ((waited = 0; waited < 50; waited++)); do
      kill -0 "$WINE_SESSION_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    # Xvfb now and then misses the request to end; it must not keep the caller waiting.
    kill -KILL "$WINE_SESSION_XVFB_PID" 2>/dev/null
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
