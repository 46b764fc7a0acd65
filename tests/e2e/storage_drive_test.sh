#!/usr/bin/env bash
# A drive letter that appears while Tarvik runs (a Linux folder defined as a removable drive
# through Wine's mount manager, announced with the device message Windows would send) is found
# at once; 1 MiB written into it is reported within the poll period; the letter taken away (and
# the removal announced) is reported lost at once, its row leaving the mini window. With logging
# on, the log file holds the drive's found, space and lost records in that order, and the mini
# window's title shows the drive's change.
#
# Then a card reader and a disc drive whose letters stay: the medium taken out (its folder gone
# and the letter defined again, as Wine's mount manager does for a device without its medium, and
# the removal announced) shows "No Media / Blank" at once and keeps it through the polls; another
# medium put in shows "NEW!" in a colour that reads, and later its plain row, never "LOST"; no
# drive is reported lost or renamed for it. The Storage tab's copy holds one drive a line, its
# columns separated by tabs. The cells are read back through the probe's read-out.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TARVIK_PROBE_EXE:?TARVIK_PROBE_EXE must name TarvikProbe.exe}"
TARVIK_EXE=$TARVIK_PROBE_EXE

e2e_require_no_program
e2e_new_data_folder
readout="$E2E_DATA/probe-readout.txt"

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

# A letter the prefix does not use yet, other than those given.
free_letter() {
  local candidate
  for candidate in R S T U V W X Y; do
    [[ -e "$WINEPREFIX/dosdevices/${candidate,,}:" || -L "$WINEPREFIX/dosdevices/${candidate,,}:" ||
      -e "$WINEPREFIX/dosdevices/${candidate,,}::" || " $* " == *" $candidate "* ]] && continue
    echo "$candidate"
    return 0
  done
  return 1
}
letter=$(free_letter) || e2e_fail "no free drive letter in the prefix"
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

# A medium as a Linux folder with its label and serial, as Wine reads them.
put_medium() {
  rm -rf "$1" && mkdir -p "$1" || e2e_fail "cannot create $1"
  printf '%s' "$2" >"$1/.windows-label"
  printf '%s' "$3" >"$1/.windows-serial"
}
# The drive cell of a letter as the read-out last showed it: "<text colour> <back colour> [text]".
drive_line() {
  local index=$(($(printf '%d' "'$1") - 64))
  sed -n "s/^drive $index \(.*\)\r\?$/\1/p" "$readout" 2>/dev/null
}
drive_text() {
  local line
  line=$(drive_line "$1")
  line=${line#*\[}
  echo "${line%\]}"
}
cells_are() {
  [[ "$(drive_text "$cardLetter")" =~ $1 && "$(drive_text "$discLetter")" =~ $2 ]]
}
never_lost() {
  local drive
  for drive in "$cardLetter" "$discLetter"; do
    [[ "$(drive_text "$drive")" != *-LOST-* ]] || e2e_fail "$drive: shows LOST: $(drive_text "$drive")"
  done
}

cardLetter=$(free_letter "$letter") || e2e_fail "no free letter for the card reader"
discLetter=$(free_letter "$letter" "$cardLetter") || e2e_fail "no free letter for the disc drive"
# The letters go with the test, pass or fail, so that the next test in this prefix finds none.
remove_media_letters() {
  local code=$?
  e2e_tool unmount "$cardLetter"
  e2e_tool unmount "$discLetter"
  return "$code"
}
trap 'remove_media_letters; e2e_cleanup' EXIT
card="$E2E_WORK/card"
disc="$E2E_WORK/disc"
put_medium "$card" CARDONE 11112222
put_medium "$disc" DISCONE 0D15C001
e2e_tool mount "$cardLetter" "$card" 2 || e2e_fail "the mount manager did not define $cardLetter:"
e2e_tool mount "$discLetter" "$disc" 5 || e2e_fail "the mount manager did not define $discLetter:"
e2e_tool devicechange arrival "$cardLetter$discLetter" || e2e_fail "the device message was lost"
e2e_poll 10 cells_are "^$cardLetter: +[0-9]+%" "^$discLetter: +[0-9]+%" ||
  e2e_fail "the card and the disc were not found: '$(drive_text "$cardLetter")' '$(drive_text "$discLetter")'"
e2e_log "card in $cardLetter: and disc in $discLetter: found"

# Taken out: the folders go, the letters stay without a medium.
rm -rf "$card" "$disc"
e2e_tool mount "$cardLetter" "$card" 2 && e2e_tool mount "$discLetter" "$disc" 5 ||
  e2e_fail "the mount manager did not take the media out"
e2e_tool devicechange removal "$cardLetter$discLetter" || e2e_fail "the device message was lost"
noMedia="No Media / Blank +0\\.0!$"
e2e_poll 5 cells_are "^$cardLetter:$noMedia" "^$discLetter:$noMedia" ||
  e2e_fail "the media taken out show '$(drive_text "$cardLetter")' '$(drive_text "$discLetter")'"
e2e_log "media taken out: '$(drive_text "$cardLetter")' '$(drive_text "$discLetter")'"
sleep 12  # the re-scan after 4 s and two polls
cells_are "^$cardLetter:$noMedia" "^$discLetter:$noMedia" ||
  e2e_fail "the polls changed the empty drives to '$(drive_text "$cardLetter")' '$(drive_text "$discLetter")'"

# Put in: other media, marked new in a colour that reads, then plain.
put_medium "$card" CARDTWO 33334444
put_medium "$disc" DISCTWO 0D15C002
e2e_tool mount "$cardLetter" "$card" 2 && e2e_tool mount "$discLetter" "$disc" 5 ||
  e2e_fail "the mount manager did not put the media in"
e2e_tool devicechange arrival "$cardLetter$discLetter" || e2e_fail "the device message was lost"
e2e_poll 5 cells_are "-NEW!-" "-NEW!-" ||
  e2e_fail "the media put in show '$(drive_text "$cardLetter")' '$(drive_text "$discLetter")'"
for drive in "$cardLetter" "$discLetter"; do
  read -r textColour backColour _ <<<"$(drive_line "$drive")"
  [[ "$textColour" != "$backColour" ]] || e2e_fail "$drive: text and back both $textColour"
done
e2e_log "media put in: $(drive_line "$cardLetter") / $(drive_line "$discLetter")"
plain() {
  never_lost
  cells_are "^$cardLetter: +[0-9]+%" "^$discLetter: +[0-9]+%" &&
    [[ "$(drive_text "$cardLetter")$(drive_text "$discLetter")" != *-NEW!-* ]]
}
e2e_poll 40 plain ||
  e2e_fail "the new media stay marked: '$(drive_text "$cardLetter")' '$(drive_text "$discLetter")'"
e2e_log "their highlight faded: '$(drive_text "$cardLetter")' '$(drive_text "$discLetter")'"

# The Storage tab's copy: one drive a line, the columns separated by tabs.
main=$(e2e_x_window_of "$MAIN_WIDTH" "$MAIN_HEIGHT") || e2e_fail "no X window for the main window"
e2e_click_client "$MAIN_WIDTH" "$MAIN_HEIGHT" 14 10
e2e_key "$main" ctrl+Tab ctrl+Tab ctrl+Tab
e2e_poll 3 e2e_tab_is 3 || e2e_fail "the Storage panel is not selected ($(e2e_selected_tab))"
e2e_key "$main" ctrl+c
copy_told() {
  [[ "$(xdotool getwindowname "$main" 2>/dev/null)" == "Saved to Clipboard: "* ]]
}
e2e_poll 10 copy_told || e2e_fail "the title does not report the copy: '$(xdotool getwindowname "$main")'"
copied="$E2E_WORK/clipboard.txt"
tab=$'\t'
copy_holds_the_drives() {
  e2e_clipboard >"$copied" 2>/dev/null &&
    grep -q "^C:$tab *[0-9]*%" "$copied" &&
    grep -q "^$discLetter:$tab *[0-9]*%.*$tab" "$copied"
}
# Under load Wine may hand the clipboard to X a while after the title told the copy.
e2e_poll 15 copy_holds_the_drives || e2e_fail "the Storage tab's copy: $(head -c 600 "$copied")"
e2e_log "the Storage tab's copy holds the rows: $(grep -c "$tab" "$copied") lines with tabs"
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
if grep -q "^[0-9]\{8\} [$cardLetter$discLetter][-*] " "$E2E_WORK/log.txt"; then
  e2e_fail "a medium change was logged as a lost or renamed drive: $(cat "$E2E_WORK/log.txt")"
fi
e2e_log "passed"
