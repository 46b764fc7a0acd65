#include "monitors/system/idle_tracker.h"

#include "monitors/system/text_shapes.h"

namespace tarvik {
namespace {

constexpr size_t kRecentCount = 4;
constexpr size_t kRedrawPrefix = 4;
constexpr const wchar_t* kRestartedText = L" 0s ";

std::wstring Part(int64_t number, const wchar_t* unit) {
  return std::to_wstring(number) + unit;
}

std::wstring RecentText(const std::deque<std::wstring>& recent) {
  std::wstring text;
  for (const std::wstring& entry : recent) {
    if (!text.empty())
      text += L", ";
    text += entry;
  }
  return text;
}

}  // namespace

std::wstring IdleText(int64_t seconds) {
  const int64_t days = seconds / 86400;
  const int64_t hours = seconds % 86400 / 3600;
  const int64_t minutes = seconds % 3600 / 60;
  const int64_t rest = seconds % 60;
  std::wstring text = L" ";
  if (seconds >= 86400)
    text += Part(days, L"d ") + Part(hours, L"h ");
  else if (seconds >= 3600)
    text += Part(hours, L"h ");
  if (seconds >= 60)
    text += Part(minutes, L"m ");
  return text + Part(rest, L"s ");
}

IdleUpdate TrackIdle(IdleState& state, int64_t seconds, int64_t longIdleSeconds) {
  IdleUpdate update;
  const std::wstring text = IdleText(seconds);
  if (text == state.PreviousText)
    return update;
  update.Changed = true;
  if (seconds >= state.PreviousSeconds) {
    update.MeterText = text;
    update.Redraw = text.substr(0, kRedrawPrefix) != state.PreviousText.substr(0, kRedrawPrefix);
    state.PreviousText = text;
    state.PreviousSeconds = seconds;
    return update;
  }
  update.MeterText = L"=" + system_text::TrimmedLeft(state.PreviousText);
  update.Redraw = true;
  update.ForceRedraw = true;
  state.Recent.push_front(system_text::Joined(system_text::Trimmed(state.PreviousText)));
  if (state.Recent.size() > kRecentCount)
    state.Recent.resize(kRecentCount);
  update.RecentText = RecentText(state.Recent);
  if (longIdleSeconds >= 1 && state.PreviousSeconds >= longIdleSeconds)
    update.LongIdleEvent = L"Long Idle:" + state.PreviousText;
  state.PreviousSeconds = 0;
  state.PreviousText = kRestartedText;
  return update;
}

}  // namespace tarvik
