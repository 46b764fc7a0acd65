#pragma once

#include <string>

#include "core/settings.h"
#include "core/text_slots.h"
#include "fakes/fake_file_system.h"
#include "settings/colour_list.h"
#include "settings/defaults.h"
#include "settings/log_path.h"
#include "settings/settings_file.h"

namespace tarvik::testing {

// The state the settings file meets at start: defaults, the colours the window build gives the
// processor and GPU graphs, and the folders of a user whose program lives on drive D.
struct SettingsFixture {
  static constexpr int kProcessors = 4;
  static constexpr int32_t kProcessorColour = 0x00AA00;
  static constexpr int32_t kGpuColour = 0x0000AA;
  static constexpr int kGpuGraphs = 6;
  inline static const std::wstring kProgramFolder = L"D:\\Tools\\Tarvik\\";
  inline static const std::wstring kAppData = L"C:\\Users\\ann\\AppData\\Roaming\\";
  inline static const std::wstring kDataFolder = kAppData + L"Brimhold\\";

  Settings Options;
  TextSlots Texts;
  fakes::FakeFileSystem Files;
  DefaultColours Defaults;
  SettingsContext Context{
      Files, Options, Texts, Defaults, kProgramFolder, 0, [this](const std::wstring& folder) {
        return FolderPassesWriteTest(Files, folder);
      }};

  SettingsFixture() {
    ApplyDefaults(Options, kProcessors, 0);
    Options.Set(opt::ProcessorColourLast, kProcessors - 1);
    for (int i = 0; i < kProcessors; ++i)
      Options.Set(FirstProcessorSlot() + i, kProcessorColour);
    for (int i = 0; i < kGpuGraphs; ++i)
      Options.Set(FirstGpuSlot() + i, kGpuColour);
    Texts.Set(slot::BaseFolder, kAppData);
    Texts.Set(slot::MakerFolderName, L"Brimhold");
    Texts.Set(slot::LogFolder, kDataFolder);
    Defaults = DefaultColours(Options);
  }

  [[nodiscard]] int FirstProcessorSlot() const { return Options.Get(opt::FirstProcessorGraph); }
  [[nodiscard]] int FirstGpuSlot() const { return Options.Get(opt::FirstGpuGraph); }
};

}  // namespace tarvik::testing
