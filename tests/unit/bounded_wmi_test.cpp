#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

#include "fakes/fake_system_info.h"
#include "sysinfo/bounded_wmi.h"
#include "sysinfo/late_processor_answer.h"

namespace tarvik {
namespace {

using namespace std::chrono_literals;

// A WMI service that answers only once the test lets it.
class WedgedWmi : public platform::Wmi {
 public:
  explicit WedgedWmi(platform::Wmi& answers) : answers_(answers) {}
  std::optional<std::vector<std::vector<platform::WmiValue>>> ProcessorProperties(
      const std::vector<std::wstring>& names) override {
    released_.wait();
    return answers_.ProcessorProperties(names);
  }
  void Release() { release_.set_value(); }

 private:
  platform::Wmi& answers_;
  std::promise<void> release_;
  std::shared_future<void> released_ = release_.get_future().share();
};

// A deliberately threaded test: the helpers are real threads, joined before the end.
TEST(BoundedWmiTest, StartUpTakesTheAnswerInTimeAndKeepsALateOneForTheWindow) {
  fakes::FakeWmi answers;
  answers.Processors = {{{L"Name", std::wstring(L"Test CPU")}}};
  std::vector<std::thread> helpers;
  const auto onThread = [&helpers](std::function<void()> work) {
    helpers.emplace_back(std::move(work));
    return true;
  };
  const std::vector<std::wstring> names{L"Name"};

  LateProcessorAnswer late;
  const auto leaveLate = [&late](ProcessorRows rows) { late.Leave(std::move(rows)); };

  BoundedWmi answering(answers, onThread, 60s, leaveLate);
  const auto rows = answering.ProcessorProperties(names);
  EXPECT_TRUE(rows.has_value() && std::get<std::wstring>(rows->at(0).at(0)) == L"Test CPU");

  WedgedWmi wedged(answers);
  BoundedWmi waiting(wedged, onThread, 20ms, leaveLate);
  EXPECT_FALSE(waiting.ProcessorProperties(names).has_value());
  wedged.Release();  // the late answer lands in the shared record, not in a gone frame

  BoundedWmi threadless(
      answers, [](std::function<void()>) { return false; }, 60s);
  EXPECT_FALSE(threadless.ProcessorProperties(names).has_value());
  for (std::thread& helper : helpers)
    helper.join();
  EXPECT_EQ(answers.Asked.size(), 2u);  // the answering and the late query, not the threadless
  // The late answer is kept for the window thread, which takes it once.
  TextSlots texts;
  EXPECT_TRUE(late.StoreInto(texts));
  EXPECT_EQ(texts.Get(slot::ProcessorPropertyFirst), L"Test CPU");
  EXPECT_FALSE(late.StoreInto(texts));
}

}  // namespace
}  // namespace tarvik
