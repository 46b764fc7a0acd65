// Fuzz target for the settings file: the INI reader, the packed option string and everything a
// file's values reach. Checks that a file the program writes reads back to the same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/settings.h"
#include "core/text_slots.h"
#include "platform/files.h"
#include "settings/colour_list.h"
#include "settings/config_string.h"
#include "settings/defaults.h"
#include "settings/settings_file.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

// Every folder passes the write test; nothing is kept.
class AcceptingFiles : public platform::FileSystem {
 public:
  std::optional<std::string> ReadFile(const std::wstring&) override { return std::nullopt; }
  bool WriteFile(const std::wstring&, std::string_view) override { return true; }
  size_t AppendFile(const std::wstring&, std::string_view bytes) override { return bytes.size(); }
  bool RemoveFile(const std::wstring&) override { return true; }
  bool RenameFile(const std::wstring&, const std::wstring&) override { return true; }
  bool FileExists(const std::wstring&) override { return false; }
  std::optional<int64_t> FileSize(const std::wstring&) override { return std::nullopt; }
  bool FolderExists(const std::wstring&) override { return true; }
  bool CreateFolder(const std::wstring&) override { return true; }
  std::optional<int64_t> FileDate(const std::wstring&) override { return std::nullopt; }
};

constexpr int kProcessors = 8;
constexpr int kGpuDevices = 2;
constexpr int kGpuGraphs = 6;

// A start-up state: defaults plus the colours the window build gives the graphs.
struct Start {
  Settings Options;
  TextSlots Texts;
  AcceptingFiles Files;
  DefaultColours Defaults;
  SettingsContext Context{
      Files,
      Options,
      Texts,
      Defaults,
      L"D:\\Tools\\",
      kGpuDevices,
      [this](const std::wstring& folder) { return FolderPassesWriteTest(Files, folder); }};

  Start() {
    ApplyDefaults(Options, kProcessors, 0);
    Options.Set(opt::ProcessorColourLast, kProcessors - 1);
    for (int i = 0; i < kProcessors; ++i)
      Options.Set(Options.Get(opt::FirstProcessorGraph) + i, i + 1);
    for (int i = 0; i < kGpuGraphs; ++i)
      Options.Set(Options.Get(opt::FirstGpuGraph) + i, i + 1);
    Defaults = DefaultColours(Options);
  }
};

void Require(bool condition) {
  if (!condition)
    std::abort();
}

std::string WrittenFile(const Start& start) {
  return SettingsFileText(CurrentSettingsTexts(start.Context), start.Context.ProgramFolder,
                          start.Options.IsOn(opt::RememberPositions));
}

}  // namespace
}  // namespace tarvik

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarvik;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  Start direct;
  (void)ApplyConfig(FromUtf8(bytes), direct.Options);
  Require(BuildConfig(direct.Options).size() == kConfigLength);

  Start first;
  (void)ApplySettingsFileText(bytes, first.Context);
  Require(BuildConfig(first.Options).size() == kConfigLength);
  const std::string written = WrittenFile(first);

  Start second;
  Require(ApplySettingsFileText(written, second.Context).GroupFound);
  Require(WrittenFile(second) == written);
  return 0;
}
