# Measuring a Windows program under Wine from Linux: CPU ticks, memory, finding its process.
# Sourced by the benchmark scripts.

ticksPerSecond=$(getconf CLK_TCK)

# CPU ticks (user + system) of a process so far.
cpu_ticks() {
  awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0
}

# CPU ticks so far of a process's threads with the given name (the program names its threads;
# Linux keeps the first 15 characters).
thread_ticks() {
  local pid=$1 name=${2:0:15} task total=0
  for task in /proc/"$pid"/task/*; do
    [[ "$(cat "$task/comm" 2>/dev/null)" == "$name" ]] || continue
    total=$((total + $(awk '{ print $14 + $15 }' "$task/stat" 2>/dev/null || echo 0)))
  done
  echo "$total"
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
