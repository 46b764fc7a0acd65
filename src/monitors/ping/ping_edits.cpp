#include "monitors/ping/ping_edits.h"

#include <algorithm>

#include "monitors/ping/ping_address.h"
#include "monitors/ping/ping_cycle.h"
#include "text/translation.h"

namespace tarvik {
namespace {

std::wstring CountMessage(size_t count, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(count) + L" " + Tr(count == 1 ? one : many);
}

void ResetHost(PSys& host) {
  host.HiLi = host.Last = host.Lost = host.Down = host.Recv = host.Sent = host.Time = 0;
  host.PTOS = host.PTTL = 0;
  host.Best = host.Wors = -1;
}

}  // namespace

AddedHost AddHost(PingList& hosts, uint32_t address, const std::wstring& description,
                  bool addressEntryMode, const std::wstring& creationKey) {
  const std::wstring dotted = DottedAddress(address);
  if (hosts.size() >= static_cast<size_t>(kMaxPingHosts))
    return {.Message = Tr(L"Maximum Pings Reached"), .DropPending = true};
  const std::wstring trimmed = TrimBlanks(description);
  const auto same = std::find_if(hosts.begin(), hosts.end(), [address](const PSys& host) {
    return static_cast<uint32_t>(host.Valu) == address;
  });
  if (same != hosts.end()) {
    if (!addressEntryMode)
      return {.Message = Tr(L"Duplicate IP found") + L": " + dotted};
    same->Host = trimmed.substr(0, kMaxDescription);
    return {.Message = Tr(L"Updating description for") + L": " + dotted, .Described = true};
  }
  PSys host;
  host.Init = creationKey;
  host.Addr = dotted;
  if (trimmed != dotted)
    host.Host = trimmed.substr(0, kMaxDescription);
  host.Valu = static_cast<int32_t>(address);
  host.Sort = AddressSortKey(dotted);
  hosts.push_back(std::move(host));
  return {.Message = {}, .Added = true};
}

std::wstring DeleteHosts(PingList& hosts, bool all) {
  if (all) {
    const size_t count = hosts.size();
    hosts.clear();
    return std::to_wstring(count) + L" " + Tr(L"pings deleted");
  }
  const size_t deleted = std::erase_if(hosts, [](const PSys& host) { return host.HiLi == 1; });
  if (deleted == 0)
    return Tr(L"Select pings first OR Shift+click to Delete ALL");
  return CountMessage(deleted, L"selected ping deleted", L"selected pings deleted");
}

std::wstring ResetHosts(PingList& hosts, bool all) {
  size_t count = 0;
  for (PSys& host : hosts) {
    if (!all && host.HiLi != 1)
      continue;
    ResetHost(host);
    if (all) {
      host.PV.clear();
    } else {
      for (PValues& sample : host.PV)
        sample.T = 0;
    }
    ++count;
  }
  if (all)
    return std::to_wstring(count) + L" " + Tr(L"pings reset");
  if (count == 0)
    return Tr(L"Select pings first OR Shift+click to Reset ALL");
  return CountMessage(count, L"selected ping reset", L"selected pings reset");
}

void RepairLoadedList(PingList& hosts, int32_t now, const std::function<std::wstring()>& newKey) {
  for (PSys& host : hosts) {
    if (host.Init.empty())
      host.Init = newKey();
    AppendSample(host, {.S = now, .T = kSampleResumed});
  }
}

}  // namespace tarvik
