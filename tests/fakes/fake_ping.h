#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "platform/ping.h"

namespace tarvik::fakes {

// Echo replies by address: an address without a reply set times out at once.
class FakeIcmpEcho final : public platform::IcmpEcho {
 public:
  platform::EchoReply Echo(uint32_t address, int timeoutMs) override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++Calls;
    LastTimeoutMs = timeoutMs;
    const auto found = Replies.find(address);
    return found == Replies.end() ? platform::EchoReply{} : found->second;
  }
  void Answer(uint32_t address, platform::EchoReply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    Replies[address] = reply;
  }
  int Calls = 0;
  int LastTimeoutMs = 0;

 private:
  std::mutex mutex_;
  std::map<uint32_t, platform::EchoReply> Replies;
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
