#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/window_update_applier.h"
#include "core/window_updates.h"
#include "fakes/fake_gui.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

TEST(WindowUpdateQueue, EachTargetKeepsItsLatestChangeAndTheFirstChangeWakesOnce) {
  WindowUpdateQueue queue;
  int wakes = 0;
  queue.SetWake([&] {
    ++wakes;
    return true;
  });
  queue.SetWindowTitle(gadget::MiniWindow, L"C: 10%");
  queue.SetGadgetText(160, L"text");
  queue.SetWindowTitle(gadget::MiniWindow, L"C: 11%");
  queue.SetTrayImage(gadget::TrayReadImage);
  queue.SetTrayTip(L"tip");
  queue.SetTrayImage(gadget::TrayWriteImage);
  queue.Refresh(131);
  queue.Refresh(131);
  queue.SetWindowTitle(gadget::MainWindow, L"main");
  EXPECT_EQ(wakes, 1);

  const std::vector<WindowUpdate> expected = {
      {UpdateKind::WindowTitle, gadget::MiniWindow, L"C: 11%"},
      {UpdateKind::GadgetText, 160, L"text"},
      {UpdateKind::TrayImage, 0, L"", gadget::TrayWriteImage},
      {UpdateKind::TrayTip, 0, L"tip"},
      {UpdateKind::Refresh, 131, L""},
      {UpdateKind::WindowTitle, gadget::MainWindow, L"main"}};
  EXPECT_EQ(queue.TakeAll(), expected);
  EXPECT_TRUE(queue.TakeAll().empty());

  queue.Refresh(131);  // the queue was emptied: the next change wakes again
  EXPECT_EQ(wakes, 2);
}

// A note that could not be posted is posted again with the next change, until one goes through.
TEST(WindowUpdateQueue, AWakeThatCouldNotBePostedIsTriedAgain) {
  WindowUpdateQueue queue;
  std::vector<bool> posted = {false, false, true};
  size_t tries = 0;
  queue.SetWake([&] { return posted.at(tries++); });
  queue.Refresh(131);
  queue.Refresh(131);  // the same target: its change is kept, the note is still owed
  queue.SetGadgetText(160, L"text");
  EXPECT_EQ(tries, 3u);
  queue.Refresh(132);  // announced already
  EXPECT_EQ(tries, 3u);
  EXPECT_EQ(queue.TakeAll().size(), 3u);
}

TEST(WindowUpdateQueue, WorkersQueueWhileTheWindowThreadTakes) {
  WindowUpdateQueue queue;
  std::atomic<int> wakes{0};
  queue.SetWake([&] {
    wakes.fetch_add(1);
    return true;
  });
  constexpr int kWorkers = 4;
  constexpr int kChanges = 2'000;
  std::vector<std::thread> workers;
  for (int worker = 0; worker < kWorkers; ++worker) {
    workers.emplace_back([&queue, worker] {
      for (int change = 1; change <= kChanges; ++change)
        queue.SetGadgetText(worker, std::to_wstring(change));
    });
  }
  std::vector<std::wstring> lastSeen(kWorkers);
  int takes = 0;
  const auto take = [&] {
    ++takes;
    for (const WindowUpdate& update : queue.TakeAll())
      lastSeen[static_cast<size_t>(update.Target)] = update.Text;
  };
  while (wakes.load() == 0)
    std::this_thread::yield();
  for (auto& worker : workers) {
    take();
    worker.join();
  }
  take();
  // Nothing is lost: every worker's final text arrives.
  for (const std::wstring& text : lastSeen)
    EXPECT_EQ(text, std::to_wstring(kChanges));
  EXPECT_LE(wakes.load(), kWorkers * kChanges);
  EXPECT_TRUE(queue.TakeAll().empty());
}

TEST(WindowUpdateApplier, AppliesTitlesTextsTheTrayAndRegisteredRefreshes) {
  fakes::FakeGui gui;
  Settings settings;
  settings.Set(opt::TrayIconEnabled, 1);
  TrayIcon tray(gui, settings);
  tray.BuildImages();
  gui.OpenWindow(gadget::MiniWindow, {});
  gui.CreateText(160, {gadget::MiniWindow}, {0, 0, 10, 10}, L"");
  WindowUpdateQueue queue;
  WindowUpdateApplier applier(gui, tray, queue);
  int refreshes = 0;
  applier.OnRefresh(131, [&] { ++refreshes; });

  // A worker queues while the tray icon is off: the icon shows the latest image once added.
  std::thread worker([&] {
    queue.SetWindowTitle(gadget::MiniWindow, L"C: 10%");
    queue.SetGadgetText(160, L"5 / 100");
    queue.SetTrayImage(gadget::TrayReadImage);
    queue.SetTrayTip(L"C: 10%");
    queue.Refresh(131);
    queue.Refresh(999);  // nobody registered: changes nothing
  });
  worker.join();
  applier.ApplyPending();
  EXPECT_EQ(gui.WindowTitle(gadget::MiniWindow), L"C: 10%");
  EXPECT_EQ(gui.GadgetText(160), L"5 / 100");
  EXPECT_EQ(refreshes, 1);
  EXPECT_FALSE(gui.TrayShown);
  tray.ShowIfEnabled();
  EXPECT_EQ(gui.TrayImage, gadget::TrayReadImage);
  EXPECT_EQ(gui.TrayTip, L"C: 10%");

  queue.SetTrayImage(gadget::TrayWriteImage);
  queue.SetTrayTip(L"D: lost");
  applier.ApplyPending();
  EXPECT_EQ(gui.TrayImage, gadget::TrayWriteImage);
  EXPECT_EQ(gui.TrayTip, L"D: lost");
}

}  // namespace
}  // namespace tarvik
