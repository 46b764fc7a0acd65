#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/ping.h"

namespace tarvik::fakes {

// Echoes as unkind as the system's: each completes only inside Collect on the thread that sent
// it (as an APC does), an answered one after its delay, a silent one after its whole time-out,
// and the system may refuse a send while too many are in flight. With RealTime off every echo
// completes at the next Collect, for tests on a fake clock; with it on, delays are real
// milliseconds, waited on a thread of the fake.
class FakeIcmpEchoes final : public platform::IcmpEchoes {
 public:
  FakeIcmpEchoes() = default;
  explicit FakeIcmpEchoes(bool realTime) : realTime_(realTime) {}
  ~FakeIcmpEchoes() override;
  FakeIcmpEchoes(const FakeIcmpEchoes&) = delete;
  FakeIcmpEchoes& operator=(const FakeIcmpEchoes&) = delete;

  // An address that answers, after `delayMs`; an address never answered is silent.
  void Answer(uint32_t address, platform::EchoReply reply, int delayMs = 0);
  // Sends are refused while this many echoes are in flight.
  void RefuseBeyond(size_t inFlight);
  // Each send takes this long, as under Wine, where it is a round trip to another process.
  void SlowSends(int milliseconds);

  [[nodiscard]] bool Send(uint32_t address, int timeoutMs, uint64_t tag) override;
  void Collect(int waitMs, const Completed& completed) override;

  [[nodiscard]] int Sends() const;
  [[nodiscard]] int LastTimeoutMs() const;
  [[nodiscard]] size_t InFlight() const override;
  // Sends and collects made on another thread than the first send: echoes whose replies would
  // never arrive.
  [[nodiscard]] int WrongThreadCalls() const;

 private:
  using Clock = std::chrono::steady_clock;
  struct Pending {
    Clock::time_point Due;
    uint64_t Tag = 0;
    platform::EchoReply Reply;
  };

  void NoteThread();
  void RunTimer();

  const bool realTime_ = false;
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::condition_variable timerWake_;
  std::map<uint32_t, std::pair<platform::EchoReply, int>> answers_;
  std::optional<size_t> mostInFlight_;
  int sendMs_ = 0;
  std::vector<Pending> pending_;  // waiting for their time
  std::vector<std::pair<uint64_t, platform::EchoReply>> completed_;
  std::optional<std::thread::id> sender_;
  int sends_ = 0;
  int lastTimeoutMs_ = 0;
  int wrongThreadCalls_ = 0;
  bool ending_ = false;
  std::thread timer_;
};

class FakeNameLookup final : public platform::NameLookup {
 public:
  uint32_t LookUpIPv4(const std::wstring& name) override {
    const auto found = Addresses.find(name);
    return found == Addresses.end() ? 0 : found->second;
  }
  std::map<std::wstring, uint32_t> Addresses;
};

}  // namespace tarvik::fakes
