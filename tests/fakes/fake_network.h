#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/http.h"
#include "platform/network.h"

namespace tarvik::fakes {

// The IP Helper tables of a fake machine: the adapter list, the interface rows by index (sparse,
// as Windows numbers them) and the Internet state. A test whose monitor runs on its own thread
// changes the tables under `Mutex`.
class FakeNetwork : public platform::Network {
 public:
  bool Present = true;
  std::optional<std::vector<platform::AdapterInfo>> List = std::vector<platform::AdapterInfo>{};
  std::map<uint32_t, platform::InterfaceRow> Rows;
  std::optional<uint32_t> Flags = 0x12;
  bool Notice = false;  // the system told of a change
  // Steady traffic: every read of a row finds these many more bytes sent and received.
  int64_t SentPerRead = 0;
  int64_t ReceivedPerRead = 0;
  int RowQueries = 0;
  std::map<uint32_t, int> RowQueriesByIndex;
  int FlagQueries = 0;
  std::mutex Mutex;

  bool Available() const override { return Present; }
  std::optional<std::vector<platform::AdapterInfo>> Adapters() override {
    std::lock_guard<std::mutex> lock(Mutex);
    return List;
  }
  std::vector<uint32_t> InterfaceIndexes() override {
    std::lock_guard<std::mutex> lock(Mutex);
    std::vector<uint32_t> indexes;
    for (const auto& [index, row] : Rows)
      indexes.push_back(index);
    return indexes;
  }
  std::optional<platform::InterfaceRow> Interface(uint32_t index) override {
    std::lock_guard<std::mutex> lock(Mutex);
    ++RowQueries;
    ++RowQueriesByIndex[index];
    const auto found = Rows.find(index);
    if (found == Rows.end())
      return std::nullopt;
    found->second.OutOctets += SentPerRead;
    found->second.InOctets += ReceivedPerRead;
    return found->second;
  }
  std::optional<uint32_t> InternetFlags() override {
    std::lock_guard<std::mutex> lock(Mutex);
    ++FlagQueries;
    return Flags;
  }
  bool TakeChangeNotice() override {
    std::lock_guard<std::mutex> lock(Mutex);
    return std::exchange(Notice, false);
  }

  // An adapter and its interface row under `index`, having moved `octets` bytes each way.
  void AddAdapter(const std::wstring& description, uint32_t index, int64_t octets,
                  const std::wstring& address = L"192.168.1.10") {
    List->push_back({.Description = description, .Index = index, .IpAddress = address});
    Rows[index] = {
        .Description = description, .OperStatus = 1, .InOctets = octets, .OutOctets = octets};
  }
};

// Runs a short-lived task's work at once on the caller's thread, as a thread registry with room.
inline bool RunAtOnce(std::function<void()> work) {
  work();
  return true;
}

// A service that gives the same answer to every GET, or none (no network).
class FakeHttp : public platform::Http {
 public:
  std::optional<std::string> Answer;
  std::vector<std::string> Urls;
  platform::HttpLimits LastLimits;

  std::optional<std::string> Get(const std::string& url, const platform::HttpLimits& limits,
                                 const platform::HttpAbandon&) override {
    Urls.push_back(url);
    LastLimits = limits;
    return Answer;
  }
};

}  // namespace tarvik::fakes
