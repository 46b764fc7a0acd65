#pragma once

#include <atomic>

#include <chrono>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/environment.h"
#include "platform/libraries.h"
#include "platform/memory.h"
#include "platform/power_status.h"
#include "platform/processors.h"
#include "platform/single_instance.h"
#include "platform/user_activity.h"

namespace tarvik::fakes {

class FakeClock : public platform::Clock {
 public:
  // Atomic: a test's window thread moves the clock while a monitor's thread reads it.
  mutable std::atomic<int64_t> Now = 1'709'993'107;  // 2024-03-09 14:05:07
  mutable std::atomic<int64_t> Tick = 1'000;
  mutable std::atomic<int> SleptMs = 0;

  int64_t NowLocal() const override { return Now; }
  int64_t TickMs() const override { return Tick; }
  // Time passes at once, but other threads get a real moment to run, as they would while the
  // program sleeps.
  void SleepMs(int milliseconds) const override {
    SleptMs += milliseconds;
    Tick += milliseconds;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
};

class FakeEnvironment : public platform::Environment {
 public:
  std::wstring Program = L"C:\\Tools\\Tarvik\\Tarvik.exe";
  std::wstring AppData = L"C:\\Users\\ann\\AppData\\Roaming\\";
  int LangId = 0x0409;
  int Processors = 8;
  std::vector<std::pair<int, int>> Beeps;
  std::vector<int> Priorities;
  std::vector<std::wstring> OpenedFolders;

  std::wstring ProgramFile() const override { return Program; }
  std::wstring AppDataFolder() const override { return AppData; }
  int UserDefaultLanguageId() const override { return LangId; }
  int LogicalProcessorCount() const override { return Processors; }
  std::wstring WindowsFolder() const override { return L"C:\\Windows"; }
  void Beep(int hertz, int milliseconds) override { Beeps.emplace_back(hertz, milliseconds); }
  bool OpenFolder(const std::wstring& folder) override {
    OpenedFolders.push_back(folder);
    return true;
  }
  // Every thread the program starts sets its priority, several at once.
  void SetCurrentThreadPriority(int level) override {
    std::lock_guard<std::mutex> lock(prioritiesLock_);
    Priorities.push_back(level);
  }
  void NameCurrentThread(const std::wstring& /*name*/) override {}

 private:
  std::mutex prioritiesLock_;
};

// Fakes that take part in the shut-down order note their steps in a shared trace when given one.
using Trace = std::vector<std::string>;

class FakeSingleInstance : public platform::SingleInstance {
 public:
  platform::InstanceLock Answer = platform::InstanceLock::Acquired;
  std::wstring Name;
  bool Held = false;
  Trace* Steps = nullptr;

  platform::InstanceLock Acquire(const std::wstring& name) override {
    Name = name;
    Held = Answer == platform::InstanceLock::Acquired;
    return Answer;
  }
  void Release() override {
    Held = false;
    if (Steps)
      Steps->push_back("release mutex");
  }
};

class FakeLibraries : public platform::Libraries {
 public:
  std::set<platform::OptionalLibrary> Missing;
  std::set<platform::OptionalLibrary> Loaded;
  Trace* Steps = nullptr;

  bool Load(platform::OptionalLibrary library) override {
    if (Missing.count(library))
      return false;
    Loaded.insert(library);
    return true;
  }
  void UnloadAll() override {
    Loaded.clear();
    if (Steps)
      Steps->push_back("unload libraries");
  }
};

class FakeClipboard : public platform::Clipboard {
 public:
  bool Busy = false;
  std::vector<std::wstring> Placed;
  bool SetText(const std::wstring& text) override {
    std::lock_guard<std::mutex> lock(lock_);
    if (Busy)
      return false;
    Placed.push_back(text);
    return true;
  }
  // For a test on another thread than the one that copies.
  [[nodiscard]] bool HasText() {
    std::lock_guard<std::mutex> lock(lock_);
    return !Placed.empty();
  }

 private:
  std::mutex lock_;
};

class FakeDisplay : public platform::Display {
 public:
  std::optional<platform::DisplayFacts> Facts =
      platform::DisplayFacts{L"Wine Adapter", 1280, 800, 100, 32, 60};
  std::optional<platform::DisplayFacts> Current() override { return Facts; }
};

class FakeMemory : public platform::Memory {
 public:
  std::optional<platform::MemoryStatus> Answer =
      platform::MemoryStatus{16ull << 30, 8ull << 30, 20ull << 30, 12ull << 30};
  std::optional<platform::MemoryStatus> Status() override { return Answer; }
};

class FakeProcessors : public platform::Processors {
 public:
  std::optional<std::vector<platform::ProcessorTime>> Answer;
  std::optional<std::vector<uint64_t>> IdleAnswer;
  std::optional<std::vector<platform::ProcessorPower>> PowerAnswer;
  std::optional<int> Throttle;
  std::optional<platform::ProcessCounts> CountsAnswer;
  // Time-stamp readings in turn; once they run out, each reading is 240,000,000 ticks (2400 MHz
  // over the 100 ms pause) after the one before, on processor 0.
  std::deque<platform::TimestampReading> Timestamps;
  int TimestampsRead = 0;

  std::optional<std::vector<platform::ProcessorTime>> Times() override { return Answer; }
  std::optional<std::vector<uint64_t>> IdleTimes() override { return IdleAnswer; }
  std::optional<std::vector<platform::ProcessorPower>> Power(int) override { return PowerAnswer; }
  std::optional<int> ThrottlePolicy() override { return Throttle; }
  std::optional<platform::ProcessCounts> Counts() override { return CountsAnswer; }
  platform::TimestampReading ReadTimestamp() override {
    ++TimestampsRead;
    if (!Timestamps.empty()) {
      const platform::TimestampReading reading = Timestamps.front();
      Timestamps.pop_front();
      return reading;
    }
    nextTicks_ += 240'000'000u;
    return {0, nextTicks_};
  }

 private:
  uint32_t nextTicks_ = 0;
};

class FakePowerSource : public platform::PowerSource {
 public:
  std::optional<platform::PowerStatus> Answer = platform::PowerStatus{1, 128, 255};
  std::optional<platform::PowerStatus> Status() override { return Answer; }
};

class FakeUserActivity : public platform::UserActivity {
 public:
  uint32_t Tick = 0;
  uint32_t LastInputTick() override { return Tick; }
};

}  // namespace tarvik::fakes
