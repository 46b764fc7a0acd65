#include "platform/win32/win32_ping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvik {
namespace {

// 127.0.x.y for echo n, counted from 127.0.0.1; first octet in the lowest byte.
uint32_t LoopbackAddress(int n) {
  const int value = n + 1;
  return 127u | static_cast<uint32_t>((value >> 8) & 0xFF) << 16 |
         static_cast<uint32_t>(value & 0xFF) << 24;
}

// A burst of echoes sent at once from one thread all come back to that thread while it waits in
// Collect, each under its own tag, each answered by the loopback host it went to.
TEST(Win32IcmpEchoes, EveryEchoOfABurstComesBackToTheThreadThatSentIt) {
  constexpr int kEchoes = 300;
  win32::Win32IcmpEchoes echoes;
  int sent = 0;
  for (int n = 0; n < kEchoes; ++n)
    sent += echoes.Send(LoopbackAddress(n), 2'000, static_cast<uint64_t>(n)) ? 1 : 0;
  ASSERT_EQ(sent, kEchoes);
  EXPECT_EQ(echoes.InFlight(), static_cast<size_t>(kEchoes));
  std::vector<int> completions(kEchoes);
  int answered = 0;
  int collected = 0;
  const ULONGLONG end = ::GetTickCount64() + 10'000;
  while (collected < kEchoes && ::GetTickCount64() < end) {
    echoes.Collect(100, [&](uint64_t tag, const platform::EchoReply& reply) {
      ASSERT_LT(tag, static_cast<uint64_t>(kEchoes));
      ++completions[tag];
      ++collected;
      answered += reply.Answered ? 1 : 0;
      EXPECT_GE(reply.RoundTripMs, 0);
    });
  }
  EXPECT_EQ(collected, kEchoes);
  EXPECT_EQ(answered, kEchoes);
  EXPECT_EQ(std::vector<int>(kEchoes, 1), completions) << "each echo completes once";
  EXPECT_EQ(echoes.InFlight(), 0u);
}

}  // namespace
}  // namespace tarvik
