#include "metrics/rising_counters.h"

#include <algorithm>
#include <limits>

namespace tarvik {

void RisingCounters::EndPage() {
  std::erase_if(series_, [this](const auto& entry) { return entry.second.Page != page_; });
}

int64_t RisingCounters::Rise(const std::string& key, int64_t count) {
  count = std::max<int64_t>(count, 0);
  const auto [place, added] = series_.try_emplace(key, Series{count, count, page_});
  Series& series = place->second;
  series.Page = page_;
  if (added)
    return series.Total;
  const int64_t rise = count >= series.LastCount ? count - series.LastCount : count;
  series.LastCount = count;
  // A total at the end of the range stays there rather than wrap round to a negative count.
  series.Total = rise > std::numeric_limits<int64_t>::max() - series.Total
                     ? std::numeric_limits<int64_t>::max()
                     : series.Total + rise;
  return series.Total;
}

}  // namespace tarvik
