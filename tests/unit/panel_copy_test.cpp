#include <gtest/gtest.h>

#include <thread>

#include "core/panel_copy.h"
#include "fakes/fake_system.h"

namespace tarvik {
namespace {

class PanelCopyTest : public ::testing::Test {
 protected:
  PanelCopyTest() { settings.Set(opt::CopyRequest, 0); }

  // The title message the helper left last, once it has ended.
  std::wstring LastTitle() {
    while (threads.AnyAlive())
      std::this_thread::yield();
    std::wstring last;
    for (const WindowUpdate& update : updates.TakeAll()) {
      if (update.Kind == UpdateKind::TitleMessage)
        last = update.Text;
    }
    return last;
  }

  Settings settings;
  StopSignal stop{settings};
  fakes::FakeEnvironment environment;
  MonitorThreads threads{stop, environment};
  WindowUpdateQueue updates;
  fakes::FakeClipboard clipboard;
  PanelCopy copy{settings,  stop,
                 threads,   updates,
                 clipboard, {L"Saving to Clipboard", L"Saved to Clipboard", L"Lines", L"Failed"}};
};

TEST_F(PanelCopyTest, TheTextGoesToTheClipboardAndTheTitleCountsItsLines) {
  copy.Serve(0, [](std::atomic<int>& lines) {
    lines = 2;
    return std::wstring(L"a\r\nb\r\nc\nd\r\n");
  });
  EXPECT_EQ(clipboard.Placed, std::vector<std::wstring>{L"a\r\nb\r\nc\nd\r\n"});
  EXPECT_EQ(settings.Get(opt::CopyRequest), -1);
  EXPECT_EQ(LastTitle(), L"Saved to Clipboard: 3 Lines");
}

TEST_F(PanelCopyTest, AClipboardThatStaysBusyIsReportedAsAFailure) {
  clipboard.Busy = true;
  copy.Serve(0, [](std::atomic<int>&) { return std::wstring(L"a\r\n"); });
  EXPECT_EQ(settings.Get(opt::CopyRequest), -1);
  EXPECT_EQ(LastTitle(), L"Saving to Clipboard: Failed");
}

TEST_F(PanelCopyTest, ALongCopyShowsItsProgress) {
  std::atomic<bool> progressSeen{false};
  copy.Serve(0, [&](std::atomic<int>& lines) {
    lines = 120;
    // Until the helper has said how far the copy got.
    while (!progressSeen) {
      for (const WindowUpdate& update : updates.TakeAll())
        progressSeen = progressSeen || update.Text == L"Saving to Clipboard: 120";
      std::this_thread::yield();
    }
    return std::wstring(L"x\r\n");
  });
  EXPECT_EQ(LastTitle(), L"Saved to Clipboard: 1 Lines");
}

// Each server takes only its own panel's request, and takes it before copying: a request made
// while the copy runs is kept for the next pass, never cleared with the one served.
TEST_F(PanelCopyTest, ARequestMadeDuringACopyIsKeptAndOthersPanelsAreLeftAlone) {
  const auto text = [](std::atomic<int>&) { return std::wstring(L"a\r\n"); };
  settings.Set(opt::CopyRequest, 3);
  EXPECT_FALSE(copy.Serve(0, text));
  EXPECT_EQ(settings.Get(opt::CopyRequest), 3);
  settings.Set(opt::CopyRequest, 0);
  EXPECT_TRUE(copy.Serve(0, [&](std::atomic<int>&) {
    settings.Set(opt::CopyRequest, 1);  // Ctrl+C on the Processors tab meanwhile
    return std::wstring(L"b\r\n");
  }));
  EXPECT_EQ(settings.Get(opt::CopyRequest), 1);
  EXPECT_TRUE(copy.Serve(1, text));
  EXPECT_EQ(settings.Get(opt::CopyRequest), -1);
  EXPECT_EQ(clipboard.Placed.size(), 2u);
  EXPECT_EQ(LastTitle(), L"Saved to Clipboard: 1 Lines");
}

TEST(CopiedLines, CountCarriageReturnLineFeedPairsOnly) {
  EXPECT_EQ(CountCopiedLines(L""), 0);
  EXPECT_EQ(CountCopiedLines(L"\r\n\r\n"), 2);
  EXPECT_EQ(CountCopiedLines(L"\n\r\r\n\r"), 1);
}

}  // namespace
}  // namespace tarvik
