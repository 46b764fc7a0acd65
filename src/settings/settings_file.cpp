#include "settings/settings_file.h"

#include <vector>

#include "settings/config_string.h"
#include "settings/filters.h"
#include "settings/ini_text.h"
#include "settings/log_path.h"
#include "settings/metrics_endpoint.h"
#include "settings/window_positions.h"

namespace tarvik {
namespace {

constexpr const wchar_t* kGroup = L"Tarvik";
constexpr const wchar_t* kConfigKey = L"Config";
constexpr const wchar_t* kLogpathKey = L"Logpath";
constexpr const wchar_t* kDigitsKey = L"Digits";
constexpr const wchar_t* kColorBarKey = L"ColorBar";
constexpr const wchar_t* kColorCpuKey = L"ColorCPU";
constexpr const wchar_t* kColorGraKey = L"ColorGra";
constexpr const wchar_t* kFilterDrvKey = L"FilterDrv";
constexpr const wchar_t* kFilterNicKey = L"FilterNic";
constexpr const wchar_t* kMetricsKey = L"Metrics";

void ReadLogpath(const IniGroup& group, SettingsContext& context, ReadResult& result) {
  const std::optional<std::wstring> stored = group.Find(kLogpathKey);
  if (!stored)
    return;
  context.Texts.Set(slot::LogpathAsRead, *stored);
  const std::optional<std::wstring> folder =
      ResolveLogpath(context.PassesWriteTest, *stored, context.ProgramFolder,
                     context.Options.IsOn(opt::PortableMode));
  if (folder) {
    context.Texts.Set(slot::LogFolder, *folder);
  } else {
    result.LogFolderRefused = true;
  }
}

void ReadPositions(const IniGroup& group, SettingsContext& context) {
  const std::wstring text = group.Find(kDigitsKey).value_or(L"");
  if (text.empty())
    return;
  context.Texts.Set(slot::DigitsAsRead, text);
  if (const std::optional<WindowPositions> positions = ParseWindowPositions(text)) {
    ApplyWindowPositions(*positions, context.Options);
  }
}

// A list the file leaves out means every slot at its start value, as the writer leaves out an
// empty list; so each list is applied, present or not.
bool ReadColours(const IniGroup& group, SettingsContext& context) {
  Settings& options = context.Options;
  bool changed = ApplyColourList(group.Find(kColorBarKey).value_or(L""), options, context.Defaults,
                                 GraphColourRange(options));
  changed = ApplyColourList(group.Find(kColorCpuKey).value_or(L""), options, context.Defaults,
                            ProcessorColourRange(options)) ||
            changed;
  changed = ApplyColourList(group.Find(kColorGraKey).value_or(L""), options, context.Defaults,
                            GpuColourRange(options)) ||
            changed;
  return CopyGpuColourBlocks(options, context.GpuDeviceCount) || changed;
}

void ReadFilters(const IniGroup& group, SettingsContext& context) {
  const std::wstring drive = CheckedDriveFilter(group.Find(kFilterDrvKey).value_or(L""));
  const std::wstring adapter = CheckedAdapterFilter(group.Find(kFilterNicKey).value_or(L""));
  context.Texts.Set(slot::FilterDrvAsRead, drive);
  context.Texts.Set(slot::FilterDrvToWrite, drive);
  context.Texts.Set(slot::FilterNicAsRead, adapter);
  context.Texts.Set(slot::FilterNicToWrite, adapter);
}

}  // namespace

SettingsTexts CurrentSettingsTexts(const SettingsContext& context) {
  const Settings& options = context.Options;
  SettingsTexts texts;
  texts.Config = BuildConfig(options);
  texts.LogFolder = context.Texts.Get(slot::LogFolder);
  texts.ColorBar = BuildColourList(options, context.Defaults, GraphColourRange(options));
  texts.ColorCpu = BuildColourList(options, context.Defaults, ProcessorColourRange(options));
  texts.ColorGra = BuildColourList(options, context.Defaults, GpuColourRange(options));
  texts.Digits = BuildWindowPositions(options);
  texts.FilterDrv = context.Texts.Get(slot::FilterDrvToWrite);
  texts.FilterNic = context.Texts.Get(slot::FilterNicToWrite);
  texts.Metrics = MetricsSettingText(options);
  return texts;
}

ReadResult ApplySettingsFileText(std::string_view bytes, SettingsContext& context) {
  ReadResult result;
  result.Opened = true;
  const std::optional<IniGroup> group = ReadIniGroup(bytes, kGroup);
  if (!group)
    return result;
  result.GroupFound = true;
  if (const std::optional<std::wstring> config = group->Find(kConfigKey)) {
    (void)ApplyConfig(*config, context.Options);
  }
  ReadLogpath(*group, context, result);
  ReadPositions(*group, context);
  result.GraphColoursChanged = ReadColours(*group, context);
  ReadFilters(*group, context);
  ApplyMetricsSettingText(group->Find(kMetricsKey), context.Options);
  return result;
}

ReadResult ReadSettingsFile(const std::wstring& path, SettingsContext& context) {
  const std::optional<std::string> bytes = context.Files.ReadFile(path);
  if (!bytes)
    return {};
  return ApplySettingsFileText(*bytes, context);
}

std::string SettingsFileText(const SettingsTexts& texts, const std::wstring& programFolder,
                             bool withPositions) {
  std::vector<IniEntry> entries = {{kConfigKey, texts.Config}};
  if (withPositions)
    entries.push_back({kDigitsKey, texts.Digits});
  entries.push_back({kLogpathKey, LogpathToWrite(texts.LogFolder, programFolder)});
  entries.push_back({kColorBarKey, texts.ColorBar});
  entries.push_back({kColorCpuKey, texts.ColorCpu});
  entries.push_back({kColorGraKey, texts.ColorGra});
  entries.push_back({kFilterDrvKey, DriveFilterToWrite(texts.FilterDrv)});
  entries.push_back({kFilterNicKey, AdapterFilterToWrite(texts.FilterNic)});
  entries.push_back({kMetricsKey, texts.Metrics});
  return WriteIniText(kGroup, entries);
}

bool WriteSettingsFile(const std::wstring& path, const SettingsContext& context) {
  const std::string bytes = SettingsFileText(CurrentSettingsTexts(context), context.ProgramFolder,
                                             context.Options.IsOn(opt::RememberPositions));
  return context.Files.WriteFile(path, bytes);
}

}  // namespace tarvik
