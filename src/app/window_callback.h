#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/tray_icon.h"
#include "core/settings.h"
#include "core/stop_signal.h"
#include "core/text_slots.h"
#include "platform/gui.h"

namespace tarvik {

struct RegisteredMessages {
  uint32_t Activate = 0;
  uint32_t Deactivate = 0;
  uint32_t TaskbarCreated = 0;
};

// Drive letters ("A" to "Z") of a volume message's unit mask, in order.
[[nodiscard]] std::wstring LettersFromUnitMask(uint32_t unitMask);

// The window callback: the messages that must be answered at once, before the event loop sees
// anything: session end, the two registered messages, Explorer restarts and volume changes.
class WindowCallback : public platform::MessageHandler {
 public:
  WindowCallback(platform::Gui& gui, Settings& settings, TextSlots& texts, StopSignal& stop,
                 TrayIcon& tray, RegisteredMessages messages);

  // Tells whether the storage monitor runs; until it does, removals only edit the pending text.
  void SetStorageRunning(std::function<bool()> running) { storageRunning_ = std::move(running); }

  // Until start-up ends, a quit request is kept instead of acted on: the event loop that acts on
  // it does not run yet, and half-built state must not be shut down.
  void EndStartUp();

  void CountMessage() override { messageCount_.fetch_add(1, std::memory_order_relaxed); }
  bool OnSystemMessage(const platform::SystemMessage& message) override;

  // Windows is ending the session: the log's closing record says so.
  [[nodiscard]] bool SessionEnded() const { return sessionEnded_; }

  [[nodiscard]] int64_t MessageCount() const {
    return messageCount_.load(std::memory_order_relaxed);
  }

 private:
  void OnSessionEnd();
  bool OnRegistered(uint32_t id);
  void OnVolumeArrival(const std::wstring& letters);
  void OnVolumeRemoval(const std::wstring& letters);
  void PopUpIfMinimized();

  platform::Gui& gui_;
  Settings& settings_;
  TextSlots& texts_;
  StopSignal& stop_;
  TrayIcon& tray_;
  RegisteredMessages messages_;
  void RequestQuit();

  std::function<bool()> storageRunning_;
  bool starting_ = true;
  bool quitPending_ = false;
  bool sessionEnded_ = false;
  std::atomic<int64_t> messageCount_{0};
};

}  // namespace tarvik
