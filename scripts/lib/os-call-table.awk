# The table of the operating-system calls each thread of Tarvik makes, from the files a counting
# build (TARVIK_COUNT_OS_CALLS) writes at shut-down: "unix second, thread, call, calls,
# nanoseconds" per line. Sourced by scripts/bench.sh as
#
#   awk -v own='<thread>=<tab>,<tab>;...' -f os-call-table.awk \
#     label=tray from=<s> to=<s> tray/os-calls.txt label=System from=<s> to=<s> system/os-calls.txt ...
#
# Only the seconds from <from> up to but not including <to> of each run count. The run labelled
# "tray" gives the tray rates; every other label is the tab that was in view. A thread's own tabs
# come from `own`; a thread without any is shown with the tab where it called most. Prints one
# line per thread, tab and call, each line led by a sort key (thread, tab, order) and a tab.
BEGIN {
  FS = "\t"
  count = split(own, pairs, ";")
  for (i = 1; i <= count; i++) {
    split(pairs[i], parts, "=")
    ownTabs[parts[1]] = parts[2]
  }
}

FNR == 1 {
  seconds[label] = to - from
  if (label != "tray")
    tabs[++tabCount] = label
  next
}

$1 >= from && $1 < to {
  key = $2 SUBSEP $3
  calls[label, key] += $4
  nanoseconds[label, key] += $5
  keys[key] = 1
  threadCalls[label, $2] += $4
}

function rate(value, run) {
  return seconds[run] > 0 ? value / seconds[run] : 0
}

# The tab in view where the thread made the most calls per second.
function busiestTab(thread, best, bestRate, i) {
  best = tabs[1]
  for (i = 1; i <= tabCount; i++) {
    if (rate(threadCalls[tabs[i], thread], tabs[i]) > bestRate) {
      bestRate = rate(threadCalls[tabs[i], thread], tabs[i])
      best = tabs[i]
    }
  }
  return best
}

function row(thread, tab, call, trayCalls, tabCalls, trayNs, tabNs, order, meanMs) {
  meanMs = trayCalls + tabCalls > 0 ? (trayNs + tabNs) / (trayCalls + tabCalls) / 1e6 : 0
  printf "%s\t%s\t%.6f\t%-18s %-11s %-46s %9.2f %9.2f %9.4f %9.3f %9.3f\n", thread, tab, order,
    thread, tab, call, rate(trayCalls, "tray"), rate(tabCalls, tab), meanMs,
    rate(trayNs, "tray") / 1e6, rate(tabNs, tab) / 1e6
}

END {
  printf "%s\t%s\t%s\t%-18s %-11s %-46s %9s %9s %9s %9s %9s\n", "", "", "", "thread", "tab",
    "call", "tray/s", "tab/s", "ms/call", "ms/s tray", "ms/s tab"
  for (key in keys) {
    split(key, names, SUBSEP)
    thread = names[1]
    list = (thread in ownTabs) ? ownTabs[thread] : busiestTab(thread)
    count = split(list, threadTabs, ",")
    for (i = 1; i <= count; i++) {
      tab = threadTabs[i]
      if (calls["tray", key] + calls[tab, key] == 0)
        continue
      row(thread, tab, names[2], calls["tray", key], calls[tab, key], nanoseconds["tray", key],
        nanoseconds[tab, key], -rate(nanoseconds[tab, key], tab) - rate(nanoseconds["tray", key], "tray"))
      group = thread SUBSEP tab
      groups[group] = 1
      totalTrayCalls[group] += calls["tray", key]
      totalTabCalls[group] += calls[tab, key]
      totalTrayNs[group] += nanoseconds["tray", key]
      totalTabNs[group] += nanoseconds[tab, key]
    }
  }
  for (group in groups) {
    split(group, names, SUBSEP)
    row(names[1], names[2], "(all calls)", totalTrayCalls[group], totalTabCalls[group],
      totalTrayNs[group], totalTabNs[group], -1e15)
  }
}
