#include "logs/saga_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/backed_up_write.h"
#include "text/translation.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

// Members keep the order Name, Last, SV in the file, as people reading it expect.
using Json = nlohmann::ordered_json;

constexpr std::wstring_view kFileExtension = L".json";
constexpr std::wstring_view kBackupExtension = L".bak";
constexpr std::wstring_view kBlanks = L" \t";

// A list without a header text is named in the file by an identifier: for list number n, field
// n - 129 of this text, fields separated by "~". Save and restore take it from here alike, so a
// list always finds its own element again.
constexpr std::wstring_view kListIdentifiers = L"SystemEvents~NetworkEvents~DriveEvents";

std::wstring ListIdentifier(EventListId list) {
  size_t start = 0;
  for (int field = 0; field < static_cast<int>(list); ++field)
    start = kListIdentifiers.find(L'~', start) + 1;
  return std::wstring(kListIdentifiers.substr(start, kListIdentifiers.find(L'~', start) - start));
}

std::wstring_view Trimmed(std::wstring_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A name saved while the program showed another language still names the same list.
bool NamesHeader(const std::wstring& name, std::wstring_view header) {
  if (header.empty())
    return false;
  if (name == header)
    return true;
  const std::vector<std::wstring> texts = TextsInEveryLanguage(header);
  return std::find(texts.begin(), texts.end(), name) != texts.end();
}

Json EventsJson(const std::array<SavedEventList, kEventListCount>& saved,
                const EventListHeaders& headers) {
  Json elements = Json::array();
  for (int index = 0; index < kEventListCount; ++index) {
    const SavedEventList& list = saved[static_cast<size_t>(index)];
    if (list.Lines.empty())
      continue;
    Json lines = Json::array();
    for (const std::wstring& line : list.Lines)
      lines.push_back(Json::object({{"L", ToUtf8(line)}}));
    const std::wstring_view header = Trimmed(headers[static_cast<size_t>(index)]);
    const std::wstring name =
        header.empty() ? ListIdentifier(static_cast<EventListId>(index)) : std::wstring(header);
    elements.push_back(
        Json::object({{"Name", ToUtf8(name)}, {"Last", list.Last}, {"SV", std::move(lines)}}));
  }
  return elements;
}

// The file's events, when it holds the array the program writes.
std::optional<Json> ReadEventsFile(platform::FileSystem& files, const std::wstring& path) {
  const std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes || bytes->empty())
    return std::nullopt;
  Json events = Json::parse(*bytes, nullptr, /*allow_exceptions=*/false);
  if (!events.is_array())
    return std::nullopt;
  return events;
}

std::vector<std::wstring> SavedLines(const Json& element, bool keepBlankLines) {
  std::vector<std::wstring> lines;
  const auto saved = element.find("SV");
  if (saved == element.end() || !saved->is_array())
    return lines;
  for (const Json& entry : *saved) {
    const auto text = entry.is_object() ? entry.find("L") : entry.end();
    if (text == entry.end() || !text->is_string())
      continue;
    std::wstring line = FromUtf8(text->get_ref<const std::string&>());
    if (keepBlankLines || !Trimmed(line).empty())
      lines.push_back(std::move(line));
  }
  return lines;
}

int SavedBlockCount(const Json& element) {
  const auto last = element.find("Last");
  if (last == element.end() || !last->is_number_integer())
    return 0;
  return static_cast<int>(
      std::clamp<int64_t>(last->get<int64_t>(), 0, std::numeric_limits<int>::max()));
}

// An element goes to the first list it names. A list's header text names the events a user
// reads (blank lines are left out); the identifier names the list itself, whose blank lines are
// the drive list's block separators and whose `Last` is its block counter.
void RestoreElement(EventLists& lists, const Json& element, const EventListHeaders& headers) {
  const auto found = element.is_object() ? element.find("Name") : element.end();
  if (found == element.end() || !found->is_string())
    return;
  const std::wstring name = FromUtf8(found->get_ref<const std::string&>());
  for (int index = 0; index < kEventListCount; ++index) {
    const auto list = static_cast<EventListId>(index);
    if (NamesHeader(name, Trimmed(headers[static_cast<size_t>(index)]))) {
      lists.AppendRestored(list, SavedLines(element, false));
      return;
    }
    if (name == ListIdentifier(list)) {
      lists.AppendRestored(list, SavedLines(element, true));
      if (list == EventListId::Drive)
        lists.SetDriveBlockCount(SavedBlockCount(element));
      return;
    }
  }
}

// A file that reads is the last good copy and becomes the backup; one that does not read goes,
// and the backup, if any, stays the last good copy. False when the good file could not be moved.
bool SetAsideLastGoodCopy(platform::FileSystem& files, const std::wstring& path,
                          const std::wstring& backup) {
  if (!ReadEventsFile(files, path)) {
    static_cast<void>(files.RemoveFile(path));
    return true;
  }
  static_cast<void>(files.RemoveFile(backup));
  return files.RenameFile(path, backup);
}

}  // namespace

std::wstring SagaBackupPath(const std::wstring& path) {
  std::wstring backup = path;
  if (backup.ends_with(kFileExtension))
    backup.resize(backup.size() - kFileExtension.size());
  return backup + std::wstring(kBackupExtension);
}

// The events file is never the only copy of the events while it is rewritten, and a damaged
// file never costs the good copy beside it:
//  1. The last good copy is set aside as the backup (see SetAsideLastGoodCopy).
//  2. The new file is written and read back. When it reads back as written the backup goes;
//     otherwise the new file goes and the backup takes the file's name again.
// Cut off at any step, the next start reads the file or, where that does not read, the backup,
// and finds either the old events or the new ones. With nothing to save the backup goes first,
// then the file, so that no older events come back at the next start.
bool SaveEvents(const EventLists& lists, platform::FileSystem& files, const std::wstring& path,
                const EventListHeaders& headers) {
  const std::wstring backup = SagaBackupPath(path);
  const Json events =
      lists.KeepsEventsAcrossRuns() ? EventsJson(lists.Saved(), headers) : Json::array();
  if (events.empty()) {
    static_cast<void>(files.RemoveFile(backup));
    static_cast<void>(files.RemoveFile(path));
    return false;
  }
  if (!SetAsideLastGoodCopy(files, path, backup))
    return false;
  const std::string bytes = events.dump(2, ' ', false, Json::error_handler_t::replace);
  return WriteOverBackup(files, path, backup, bytes);
}

bool RestoreEvents(EventLists& lists, platform::FileSystem& files, const std::wstring& path,
                   const EventListHeaders& headers) {
  if (!lists.KeepsEventsAcrossRuns())
    return false;
  std::optional<Json> events = ReadEventsFile(files, path);
  if (!events)
    events = ReadEventsFile(files, SagaBackupPath(path));
  if (!events)
    return false;
  for (const Json& element : *events)
    RestoreElement(lists, element, headers);
  return true;
}

}  // namespace tarvik
