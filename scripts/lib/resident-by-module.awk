# Where one program's resident memory goes beside another's, mapping by mapping, from two copies
# of /proc/<pid>/smaps taken at the end of their runs:
#
#   awk -f resident-by-module.awk label=<first> <smaps> label=<second> <smaps>
#
# Mappings of the same file are summed under its base name. Anonymous memory is split into
# thread stacks (under Wine each thread has one anonymous mapping of 3,064 KB: its stack and its
# Unix-side stack) and the rest (heaps, bitmaps). Prints the lines whose resident size differs by
# at least 0.1 MB, the largest difference first, and the totals.
/^[0-9a-f]+-[0-9a-f]+ / {
  if (NF >= 6) {
    name = $6
    sub(/.*\//, "", name)
  } else {
    name = "(other anonymous)"
  }
}
/^Size:/ && name == "(other anonymous)" && $2 == 3064 {
  name = "(thread stacks)"
  stacks[label]++
}
/^Size:/ { names[name] = 1 }
/^Rss:/ { kb[label, name] += $2; total[label] += $2 }
FNR == 1 { labels[++labelCount] = label }
END {
  first = labels[1]
  second = labels[2]
  for (name in names) {
    difference = kb[second, name] - kb[first, name]
    if (difference >= 102 || difference <= -102)
      printf "%.1f\t%s\t%.1f\t%.1f\n", difference / 1024, name, kb[first, name] / 1024,
        kb[second, name] / 1024 | "sort -t '\t' -k1,1gr"
  }
  close("sort -t '\t' -k1,1gr")
  printf "total\t%.1f MB %s, %.1f MB %s; thread stacks: %d %s, %d %s\n", total[first] / 1024,
    first, total[second] / 1024, second, stacks[first], first, stacks[second], second
}
