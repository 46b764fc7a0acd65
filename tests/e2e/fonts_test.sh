#!/usr/bin/env bash
# The prefix has the fonts that Tarvik's windows are drawn with: Marlett, whose symbols Windows
# draws on the caption buttons (minimise, maximise, close), and Tahoma, the program's own text
# font. GDI never refuses a missing face, it quietly picks another one; without Marlett the
# caption buttons read "0", "1" and "r".
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

for face in Marlett Tahoma; do
  e2e_tool font "$face" ||
    e2e_fail "a font request for $face got '$(head -n 1 "$E2E_TOOL_OUT")'"
  e2e_log "$face: $(head -n 1 "$E2E_TOOL_OUT")"
done
e2e_log "passed"
