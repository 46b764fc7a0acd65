#!/usr/bin/env bash
# A drive letter that appears while Tarvik runs (a Linux folder defined as a removable drive
# through Wine's mount manager, announced with the device message Windows would send) is found
# at once; 1 MiB written into it is reported within the poll period; the letter taken away (and
# the removal announced) is reported lost at once, its row leaving the mini window. With logging on, the log file holds the drive's found, space and lost records
# in that order, and the mini window's title shows the drive's change.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_require_no_program
e2e_new_data_folder

# Flags 1, 6, 8, 12 and 20: always on top, storage events and drive space to the log, the log
# file, the tray icon; title-bar mode 0 shows the drives.
flags=""
for position in $(seq 1 26); do
  case $position in 1 | 6 | 8 | 12 | 20) flags+=1 ;; *) flags+=0 ;; esac
done
printf '\xEF\xBB\xBF\r\n[Tarvik]\r\nConfig = %s8040%s\r\n' "$flags" "$(printf '0%.0s' {1..20})" \
  >"$E2E_DATA/Tarvik.ini"

stick="$E2E_WORK/stick"
mkdir -p "$stick" || e2e_fail "cannot create $stick"
printf 'TKSTICK' >"$stick/.windows-label"
printf '5A17C0DE' >"$stick/.windows-serial"

e2e_start_program tarvik
e2e_wait_started 40

letter=""
for candidate in R S T U V W; do
  [[ -e "$WINEPREFIX/dosdevices/${candidate,,}:" ]] || {
    letter=$candidate
    break
  }
done
[[ -n "$letter" ]] || e2e_fail "no free drive letter in the prefix"
e2e_tool mount "$letter" "$stick" 2 || e2e_fail "the mount manager did not define $letter:"
e2e_tool devicechange arrival "$letter" || e2e_fail "the device message was not delivered"
e2e_log "$letter: defined and announced"

mini_title_starts_with() {
  local window
  for window in $(xdotool search --name "^$1" 2>/dev/null); do
    e2e_log "mini window title: $(xdotool getwindowname "$window")"
    return 0
  done
  return 1
}

# Written once the new drive's space was read, and flushed: the Linux file system counts the
# blocks of a file only once they are written out.
sleep 2
dd if=/dev/zero of="$stick/written.bin" bs=1048576 count=1 conv=fsync status=none ||
  e2e_fail "cannot write into $stick"
e2e_log "1 MiB written into $letter:"
# The poll finds the change within 5 s; the title tells one changed drive every 6 s, and the
# same Linux disk holds C: and Z: too, so they may be told first.
e2e_poll 30 mini_title_starts_with "$letter:? " || e2e_fail "the title never showed $letter:"

# The mini window's height: one row per drive below its own cells.
mini_height() {
  local line
  line=$(e2e_window_line "$MINI_WIDTH" '*') || return 1
  echo "$line" | awk '{ print $4 }'
}
mini_shrank() {
  local now
  now=$(mini_height) && ((now < heightWithStick))
}
heightWithStick=$(mini_height) || e2e_fail "no mini window"
e2e_tool unmount "$letter" || e2e_fail "the mount manager did not remove $letter:"
e2e_tool devicechange removal "$letter" || e2e_fail "the device message was not delivered"
e2e_poll 5 mini_shrank || e2e_fail "$letter:'s row stayed in the mini window after its removal"
e2e_log "$letter: removed and its row gone"
e2e_quit tarvik 10

log=$(find "$E2E_DATA" -maxdepth 1 -name 'TK??????.log' | head -n 1)
[[ -n "$log" ]] || e2e_fail "no log file in $E2E_DATA"
tr -d '\r' <"$log" >"$E2E_WORK/log.txt"
found=$(grep -n "^[0-9]\{8\} ${letter}+ 5A17-C0DE " "$E2E_WORK/log.txt" | head -n 1 | cut -d: -f1)
space=$(grep -n "^[0-9]\{8\} ${letter}: " "$E2E_WORK/log.txt" | head -n 1 | cut -d: -f1)
lost=$(grep -n "^[0-9]\{8\} ${letter}- 5A17-C0DE " "$E2E_WORK/log.txt" | head -n 1 | cut -d: -f1)
[[ -n "$found" && -n "$space" && -n "$lost" ]] ||
  e2e_fail "the log lacks a record (found '$found', space '$space', lost '$lost'): $(cat "$E2E_WORK/log.txt")"
((found < space && space < lost)) || e2e_fail "the records are out of order: $found $space $lost"
e2e_log "passed"
