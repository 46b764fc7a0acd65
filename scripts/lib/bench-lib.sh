# Measuring a Windows program under Wine from Linux: CPU ticks, memory, finding its process.
# Sourced by the benchmark scripts.

ticksPerSecond=$(getconf CLK_TCK)

# CPU ticks (user + system) so far from a stat file of /proc. The name in parentheses may hold
# spaces (a thread named "system sampler"), so the fields are counted after it.
stat_ticks() {
  sed 's/.*) //' "$1" 2>/dev/null | awk '{ print $12 + $13 }' | grep . || echo 0
}

# CPU ticks (user + system) of a process so far.
cpu_ticks() {
  stat_ticks "/proc/$1/stat"
}

peak_kb() {
  awk '/^VmHWM:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0
}

# The Linux process that runs a Windows program, found by its folder and file name (Wine shows
# the Windows form of the path in the command line, so "." stands for the separator).
program_pid() {
  local folder=$1 name=$2 pid="" tries
  for ((tries = 0; tries < 100; tries++)); do
    pid=$(pgrep -n -f "$(basename "$folder").$name" 2>/dev/null) && break
    sleep 0.1
  done
  echo "$pid"
}

# The Wine server of this session's own prefix ($WINEPREFIX): other sessions on the machine run
# servers of their own, and the newest of them need not be ours.
session_wineserver() {
  local pid
  for pid in $(pgrep wineserver); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# CPU ticks so far of every process of this session's own prefix ($WINEPREFIX) together: the
# programs, the Wine server and Wine's own service processes (where it does device work, ICMP
# echoes among it).
session_ticks() {
  local process total=0
  for process in /proc/[0-9]*; do
    tr '\0' '\n' 2>/dev/null <"$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    total=$((total + $(cpu_ticks "${process#/proc/}")))
  done
  echo "$total"
}

# Resident memory of a process now, in KB.
resident_kb() {
  awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0
}

# Where a process's resident memory lies, in MB: Windows modules (the program and Wine's DLLs),
# Linux libraries (Wine's own and the system's), anonymous memory (heaps, stacks, bitmaps), X
# shared images and other files.
resident_breakdown() {
  awk '
    /^[0-9a-f]+-[0-9a-f]+ / {
      name = (NF >= 6) ? $6 : "anonymous"
      if (name ~ /\.(dll|exe|drv)$/) group = "Windows modules"
      else if (name ~ /\.so/) group = "Linux libraries"
      else if (name ~ /SYSV/) group = "X shared images"
      else if (name == "anonymous" || name ~ /^\[(heap|stack)/) group = "anonymous"
      else group = "other"
    }
    /^Rss:/ { kb[group] += $2 }
    END {
      split("Windows modules,Linux libraries,anonymous,X shared images,other", order, ",")
      line = ""
      for (i = 1; i <= 5; i++) line = line sprintf("%s %.1f, ", order[i], kb[order[i]] / 1024)
      print substr(line, 1, length(line) - 2)
    }' "/proc/$1/smaps" 2>/dev/null
}

# CPU ticks so far of each of a process's threads, one "ticks name" line per thread name (the
# threads of one name summed); the first thread (under Wine the program's window thread) is
# called "window thread".
thread_table() {
  local pid=$1 task name
  for task in /proc/"$pid"/task/*; do
    name=$(cat "$task/comm" 2>/dev/null) || continue
    [[ "${task##*/}" == "$pid" ]] && name="window thread"
    printf '%s\t%s\n' "$(stat_ticks "$task/stat")" "$name"
  done | awk -F'\t' '{ ticks[$2] += $1 } END { for (n in ticks) printf "%d\t%s\n", ticks[n], n }'
}

# The ticks each thread name gained between two thread tables, largest first, as "name N, ...";
# names with no ticks are left out.
thread_gains() {
  awk -F'\t' 'NR == FNR { before[$2] = $1; next }
               { gain = $1 - before[$2]; if (gain > 0) printf "%d\t%s\n", gain, $2 }' "$1" "$2" |
    sort -rn | awk -F'\t' '{ line = line sprintf("%s%s %d", NR > 1 ? ", " : "", $2, $1) }
                            END { print line }'
}
