#!/usr/bin/env bash
# The program's two rules of dependencies, checked over the includes under src/:
#  1. Only src/platform/win32/ and src/main_win32.cpp (and the Windows test tooling and the
#     benchmark's yardstick) include Windows headers; everything else sees the platform through
#     src/platform/*.h.
#  2. Folders depend one way, downward in this order:
#       main_win32.cpp, windows_program > app > ui, monitors, logs, sysinfo, metrics > settings > text > core > platform
#     A folder never includes one above it, and no folders include each other round a cycle
#     (the middle folders may use each other, each monitor folder counting on its own).
# Prints each offending include and fails on any.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
status=0

headers='windows|winsock2|ws2tcpip|iphlpapi|pdh|icmpapi|wbemidl|commctrl|shellapi|shlobj|winuser|wingdi|winbase|dbt|powrprof|winnetwk|windns|wininet|netioapi|objbase|comdef|tlhelp32|psapi|winioctl|nvml'
hits=$(grep -rn -I -E "^\s*#\s*include\s*[<\"]($headers)\.h[>\"]" --include='*.h' --include='*.cpp' src tests 2>/dev/null |
  grep -v -E '^(src/platform/win32/|src/main_win32\.cpp|tests/win32/|tests/e2e/tools/|tests/bench/)')
if [ -n "$hits" ]; then
  echo "Windows headers included outside the Windows platform layer:"
  echo "$hits"
  status=1
fi

# The folder a source path belongs to: its first folder under src/, or monitors/<name>.
folder_of() {
  case $1 in
    main_win32.cpp | windows_program.*) echo main ;;
    monitors/*/*) echo "${1%%/*}/$(cut -d/ -f2 <<<"$1")" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

rank_of() {
  case $1 in
    main) echo 7 ;;
    app) echo 6 ;;
    ui | logs | sysinfo | metrics | monitors | monitors/*) echo 5 ;;
    settings) echo 4 ;;
    text) echo 3 ;;
    core) echo 2 ;;
    platform) echo 1 ;;
    *) echo 0 ;;
  esac
}

edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
while IFS= read -r line; do
  file=${line%%:*}
  file=${file#src/}
  target=$(sed -E 's/.*#\s*include\s*"([^"]+)".*/\1/' <<<"${line#*:}")
  from=$(folder_of "$file")
  to=$(folder_of "$target")
  [[ -z $from || -z $to || $from == "$to" ]] && continue
  fromRank=$(rank_of "$from")
  toRank=$(rank_of "$to")
  if ((toRank == 0)); then
    echo "unknown folder '$to' included by src/$file: add it to the folder order"
    status=1
  elif ((toRank > fromRank)); then
    echo "src/$file includes $target: $from may not depend on $to, which is above it"
    status=1
  fi
  echo "$from $to" >>"$edges"
done < <(grep -rn -E '^\s*#\s*include\s*"' --include='*.h' --include='*.cpp' src | sed -E 's/^([^:]+):[0-9]+:/\1:/')

if ! sort -u "$edges" | tsort >/dev/null 2>"$edges.loop"; then
  echo "folders include each other in a cycle:"
  grep -v '^tsort: -: input contains a loop' "$edges.loop" | sed 's/^tsort: /  /'
  status=1
fi
rm -f "$edges.loop"

((status == 0)) && echo "dependency rule holds"
exit $status
