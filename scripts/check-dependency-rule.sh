#!/usr/bin/env bash
# Only src/platform/win32/ and src/main_win32.cpp may include Windows headers; everything else
# sees the platform through src/platform/*.h. Prints each offending line and fails on any.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
headers='windows|winsock2|ws2tcpip|iphlpapi|pdh|icmpapi|wbemidl|commctrl|shellapi|shlobj|winuser|wingdi|winbase|dbt|powrprof|winnetwk|windns|wininet|netioapi|objbase|comdef|tlhelp32|psapi|winioctl|nvml'
hits=$(grep -rn -I -E "^\s*#\s*include\s*[<\"]($headers)\.h[>\"]" --include='*.h' --include='*.cpp' src tests 2>/dev/null \
  | grep -v -E '^(src/platform/win32/|src/main_win32\.cpp|tests/win32/|tests/e2e/tools/)')
if [ -n "$hits" ]; then
  echo "Windows headers included outside the Windows platform layer:"
  echo "$hits"
  exit 1
fi
echo "dependency rule holds"
