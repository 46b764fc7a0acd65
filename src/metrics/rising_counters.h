#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace tarvik {

// Turns counts that may start again from zero (a ping host's data reset by the user, an adapter
// whose counters restarted) into counters that only rise from one page to the next, as a
// monitoring server expects of a counter. A count first seen is served as read; after that each
// rise is added, and a count that fell adds what it counted since it restarted.
class RisingCounters {
 public:
  // Starts a page: the series the page leaves out are forgotten when it ends.
  void BeginPage() { ++page_; }
  void EndPage();

  // The rising value of the series `key` whose count now reads `count`.
  [[nodiscard]] int64_t Rise(const std::string& key, int64_t count);

  [[nodiscard]] size_t Kept() const { return series_.size(); }

 private:
  struct Series {
    int64_t LastCount = 0;
    int64_t Total = 0;
    uint64_t Page = 0;
  };

  std::unordered_map<std::string, Series> series_;
  uint64_t page_ = 0;
};

}  // namespace tarvik
