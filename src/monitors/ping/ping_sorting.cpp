#include "monitors/ping/ping_sorting.h"

#include <algorithm>
#include <cwctype>
#include <functional>
#include <utility>

#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kDescendingDirection = 1;
constexpr int kCreationDirection = 2;

// The leading decimal digits of `text` from `at` on, read as a number; `at` moves past them.
int64_t DigitsAt(const std::wstring& text, size_t& at) {
  int64_t number = 0;
  for (; at < text.size() && std::iswdigit(text[at]) != 0; ++at)
    number = number * 10 + (text[at] - L'0');
  return number;
}

// A creation key "<date value>.<milliseconds>" compared as two numbers, so "9.5" comes before
// "10.1" and ".5" before ".50".
std::pair<int64_t, int64_t> CreationKey(const std::wstring& init) {
  size_t at = 0;
  const int64_t date = DigitsAt(init, at);
  if (at < init.size() && init[at] == L'.')
    ++at;
  return {date, DigitsAt(init, at)};
}

template <typename Key>
void SortOn(PingList& hosts, Key key, bool descending) {
  if (descending)
    std::stable_sort(hosts.begin(), hosts.end(),
                     [&](const PSys& a, const PSys& b) { return key(b) < key(a); });
  else
    std::stable_sort(hosts.begin(), hosts.end(),
                     [&](const PSys& a, const PSys& b) { return key(a) < key(b); });
}

}  // namespace

PingSortOrder PingSortCycle::Click(int column) {
  if (column == lastColumn_)
    ++direction_;
  if (direction_ >= kCreationDirection) {
    direction_ = 0;
    lastColumn_ = 0;
    return PingSortOrder::Creation;
  }
  lastColumn_ = column;
  return direction_ == kDescendingDirection ? PingSortOrder::Descending : PingSortOrder::Ascending;
}

void SortPings(PingList& hosts, int column, PingSortOrder order) {
  if (order == PingSortOrder::Creation) {
    SortOn(
        hosts, [](const PSys& h) { return CreationKey(h.Init); }, false);
    return;
  }
  const bool descending = order == PingSortOrder::Descending;
  switch (column) {
    case 1:
      return SortOn(hosts, std::mem_fn(&PSys::Sort), descending);
    case 2:
      return SortOn(
          hosts, [](const PSys& h) -> const std::wstring& { return h.Host; }, descending);
    case 3:
      return SortOn(hosts, std::mem_fn(&PSys::Time), descending);
    case 4:
      return SortOn(hosts, std::mem_fn(&PSys::PTTL), descending);
    case 5:
      return SortOn(hosts, std::mem_fn(&PSys::PTOS), descending);
    case 6:
      return SortOn(hosts, std::mem_fn(&PSys::Recv), descending);
    case 7:
      return SortOn(hosts, std::mem_fn(&PSys::Lost), descending);
    default:
      return;
  }
}

std::wstring SortingTitle(int column, PingSortOrder order) {
  const wchar_t* word = L"Ascending";
  if (order == PingSortOrder::Descending)
    word = L"Descending";
  else if (order == PingSortOrder::Creation)
    word = L"None";
  return Tr(L"Sorting Column #") + std::to_wstring(column) + L" = " + Tr(word);
}

}  // namespace tarvik
