#pragma once

#include <string>

#include "monitors/ping/ping_host.h"

namespace tarvik {

enum class PingSortOrder { Ascending, Descending, Creation };

// The header's sort clicks: a click on the column sorted last turns ascending into descending and
// descending into creation order, which starts the cycle again; a click on another column keeps
// the direction.
class PingSortCycle {
 public:
  // The order the click on `column` (1-7) asks for.
  PingSortOrder Click(int column);

 private:
  int direction_ = 0;  // 0 ascending, 1 descending, 2 back to creation order
  int lastColumn_ = 0;
};

// Sorts the list in place, stably, on column 1 address, 2 description (case-sensitive), 3 time,
// 4 TTL, 5 TOS, 6 received or 7 lost; creation order follows the creation keys. Another column
// leaves the list as it is.
void SortPings(PingList& hosts, int column, PingSortOrder order);

// "Sorting Column #" + column + " = " + Ascending, Descending or None, translated.
[[nodiscard]] std::wstring SortingTitle(int column, PingSortOrder order);

}  // namespace tarvik
