#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "monitors/ping/ping_list_json.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

// Room for the members of a host besides its history, and for one sample line.
constexpr size_t kHostBytes = 400;
constexpr size_t kSampleBytes = 32;

void AppendNumber(std::string& out, int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

void AppendText(std::string& out, std::wstring_view text) {
  out += '"';
  for (const char c : ToUtf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendMember(std::string& out, std::string_view name, int64_t value) {
  out += ", \"";
  out += name;
  out += "\": ";
  AppendNumber(out, value);
}

void AppendMember(std::string& out, std::string_view name, std::wstring_view text) {
  out += ", \"";
  out += name;
  out += "\": ";
  AppendText(out, text);
}

void AppendHistory(std::string& out, const std::deque<PValues>& history) {
  out += ",\n \"PV\": [";
  const char* separator = "\n";
  for (const PValues& sample : history) {
    out += separator;
    out += "{\"S\":";
    AppendNumber(out, sample.S);
    out += ",\"T\":";
    AppendNumber(out, sample.T);
    out += '}';
    separator = ",\n";
  }
  out += "]}";
}

void AppendHost(std::string& out, const PSys& host) {
  out += "{\"Init\": ";
  AppendText(out, host.Init);
  AppendMember(out, "Actv", host.Actv);
  AppendMember(out, "Sent", host.Sent);
  AppendMember(out, "Recv", host.Recv);
  AppendMember(out, "Lost", host.Lost);
  AppendMember(out, "Time", host.Time);
  AppendMember(out, "Best", host.Best);
  AppendMember(out, "Wors", host.Wors);
  AppendMember(out, "Down", host.Down);
  AppendMember(out, "PTTL", host.PTTL);
  AppendMember(out, "PTOS", host.PTOS);
  AppendMember(out, "Last", host.Last);
  AppendMember(out, "Valu", host.Valu);
  AppendMember(out, "Sort", host.Sort);
  AppendMember(out, "HiLi", host.HiLi);
  AppendMember(out, "CFor", host.CFor);
  AppendMember(out, "CBak", host.CBak);
  AppendMember(out, "Host", host.Host);
  AppendMember(out, "Addr", host.Addr);
  AppendHistory(out, host.PV);
}

}  // namespace

// Written by hand: a document of a full list would hold about a million sample objects.
std::string PingListJson(const PingList& hosts) {
  size_t room = 4;
  for (const PSys& host : hosts)
    room += kHostBytes + host.PV.size() * kSampleBytes;
  std::string out;
  out.reserve(room);
  out += '[';
  const char* separator = "\n";
  for (const PSys& host : hosts) {
    out += separator;
    AppendHost(out, host);
    separator = ",\n";
  }
  out += "\n]\n";
  return out;
}

}  // namespace tarvik
