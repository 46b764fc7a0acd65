#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/performance_counters.h"

namespace tarvik::fakes {

// Performance counters in memory, with the English names of the standard indices. A path can be
// refused, a query's collection can fail through any of its paths, and values are set by path.
class FakePerformanceCounters : public platform::PerformanceCounters {
 public:
  std::map<uint32_t, std::wstring> Names = {{2, L"System"},
                                            {6, L"% Processor Time"},
                                            {220, L"Disk Read Bytes/sec"},
                                            {222, L"Disk Write Bytes/sec"},
                                            {230, L"Process"},
                                            {234, L"PhysicalDisk"},
                                            {238, L"Processor"},
                                            {248, L"Processes"},
                                            {250, L"Threads"},
                                            {952, L"Handle Count"}};
  // Lookups of an index that come back empty before its name appears (while names are rebuilt).
  std::map<uint32_t, int> EmptyLookups;
  bool OpenRefused = false;
  std::set<std::wstring> RefusedPaths;
  std::set<std::wstring> FailingCollects;
  std::map<std::wstring, double> Values;
  bool RebuildStarts = true;
  int RebuildsStarted = 0;
  std::wstring RebuildFolder;
  std::vector<std::wstring> Added;
  int Collections = 0;

  std::wstring NameOf(uint32_t index) override {
    if (auto empty = EmptyLookups.find(index); empty != EmptyLookups.end() && empty->second > 0) {
      --empty->second;
      return L"";
    }
    const auto name = Names.find(index);
    return name == Names.end() ? L"" : name->second;
  }

  std::unique_ptr<platform::CounterQuery> OpenQuery() override {
    if (OpenRefused)
      return nullptr;
    return std::make_unique<Query>(*this);
  }

  bool StartNameRebuild(const std::wstring& folder) override {
    ++RebuildsStarted;
    RebuildFolder = folder;
    return RebuildStarts;
  }

 private:
  class Query : public platform::CounterQuery {
   public:
    explicit Query(FakePerformanceCounters& owner) : owner_(owner) {}
    std::optional<int> Add(const std::wstring& path) override {
      // A path with a name missing is refused, as the system refuses it.
      const bool nameMissing = path.rfind(L"\\(", 0) == 0 ||
                               path.find(L"\\\\") != std::wstring::npos || path.back() == L'\\';
      if (owner_.RefusedPaths.count(path) || nameMissing)
        return std::nullopt;
      owner_.Added.push_back(path);
      paths_.push_back(path);
      return static_cast<int>(paths_.size() - 1);
    }
    bool Collect() override {
      ++owner_.Collections;
      for (const std::wstring& path : paths_) {
        if (owner_.FailingCollects.count(path))
          return false;
      }
      return true;
    }
    std::optional<double> Value(int counter) override {
      const auto value = owner_.Values.find(paths_.at(static_cast<size_t>(counter)));
      if (value == owner_.Values.end())
        return std::nullopt;
      return value->second;
    }

   private:
    FakePerformanceCounters& owner_;
    std::vector<std::wstring> paths_;
  };
};

}  // namespace tarvik::fakes
