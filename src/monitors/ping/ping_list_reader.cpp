#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "monitors/ping/ping_address.h"
#include "monitors/ping/ping_list_json.h"
#include "text/json_events.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int64_t kMostCount = std::numeric_limits<int32_t>::max();
constexpr int64_t kMostColour = 0xFFFFFF;
constexpr int64_t kMostOctet = 255;
// Address values are written signed; a hand edit may write them unsigned.
constexpr int64_t kLeastAddress = std::numeric_limits<int32_t>::min();
constexpr int64_t kMostAddress = std::numeric_limits<uint32_t>::max();

// How a member's number is brought into its range.
enum class Fit {
  Clamp,         // to the nearest end of the range
  NonZeroIsOne,  // a switch: anything but 0 is on
  OnlyOneIsOne,  // a selection: only 1 is on, so that nothing is selected by accident
};

struct NumberMember {
  std::string_view Name;
  int32_t PSys::*Field;
  int64_t Least;
  int64_t Most;
  Fit Kind = Fit::Clamp;
};

// Counters never below 0; times and extremes -1 (none) or more; the last outcome -1, 0 or 1.
constexpr std::array<NumberMember, 14> kNumberMembers = {{
    {"Actv", &PSys::Actv, 0, 1, Fit::NonZeroIsOne},
    {"Sent", &PSys::Sent, 0, kMostCount},
    {"Recv", &PSys::Recv, 0, kMostCount},
    {"Lost", &PSys::Lost, 0, kMostCount},
    {"Time", &PSys::Time, -1, kMostCount},
    {"Best", &PSys::Best, -1, kMostCount},
    {"Wors", &PSys::Wors, -1, kMostCount},
    {"Down", &PSys::Down, 0, kMostCount},
    {"PTTL", &PSys::PTTL, 0, kMostOctet},
    {"PTOS", &PSys::PTOS, 0, kMostOctet},
    {"Last", &PSys::Last, -1, 1},
    {"HiLi", &PSys::HiLi, 0, 1, Fit::OnlyOneIsOne},
    {"CFor", &PSys::CFor, 0, kMostColour},
    {"CBak", &PSys::CBak, 0, kMostColour},
}};

struct TextMember {
  std::string_view Name;
  std::wstring PSys::*Field;
};

constexpr std::array<TextMember, 3> kTextMembers = {{
    {"Init", &PSys::Init},
    {"Host", &PSys::Host},
    {"Addr", &PSys::Addr},
}};

template <typename Member>
const Member* FindMember(const auto& members, std::string_view name) {
  for (const Member& member : members) {
    if (member.Name == name)
      return &member;
  }
  return nullptr;
}

int32_t Fitted(const NumberMember& member, int64_t value) {
  switch (member.Kind) {
    case Fit::NonZeroIsOne:
      return value != 0 ? 1 : 0;
    case Fit::OnlyOneIsOne:
      return value == 1 ? 1 : 0;
    case Fit::Clamp:
      break;
  }
  return static_cast<int32_t>(std::clamp(value, member.Least, member.Most));
}

// A number with a fraction, cut towards zero; one beyond any field's range stays beyond it.
int64_t WholePart(double value) {
  constexpr double kFar = 1e15;
  if (std::isnan(value))
    return 0;
  return static_cast<int64_t>(std::clamp(value, -kFar, kFar));
}

// What a window or the clipboard is given of a text: no control characters.
std::wstring WithoutControlCharacters(std::wstring text) {
  std::erase_if(text, [](wchar_t c) { return c < L' ' || c == 0x7F; });
  return text;
}

bool IsSampleValue(int64_t value) {
  return value >= 0 || value == kSampleNoReply || value == kSampleResumed || value == kSamplePaused;
}

// Where the reader stands in the file's nesting.
enum class Place { BeforeList, InList, InHost, InHistory, InSample, AfterList };

// Takes the text's pieces one by one and builds the list without a document in between: a full
// list holds about a million samples, which as a document would cost several times the file.
// What cannot be taken is counted and passed over, so one bad value never costs the other hosts.
class PingListHandler final : public JsonEvents {
 public:
  PingListReading Finish(JsonReadResult result) {
    if (result == JsonReadResult::Malformed)
      fault_ = PingListFault::Damaged;
    if (fault_ != PingListFault::None)
      return {fault_, {}, 0, false};
    return {PingListFault::None, std::move(hosts_), leftOut_, repaired_};
  }

  bool OtherValue() override { return Scalar(); }
  bool Integer(int64_t value) override { return Number(value, false); }
  bool Real(double value) override { return Number(WholePart(value), true); }

  bool String(std::string&& value) override {
    if (Passing())
      return true;
    const auto* member =
        place_ == Place::InHost ? FindMember<TextMember>(kTextMembers, key_) : nullptr;
    if (member == nullptr)
      return Scalar();
    std::wstring text = FromUtf8(value);
    std::wstring kept = WithoutControlCharacters(text);
    if (member->Field == &PSys::Host && kept.size() > kMaxDescription)
      kept.resize(kMaxDescription);
    Repair(kept != text);
    host_.*(member->Field) = std::move(kept);
    return true;
  }

  bool Key(std::string_view name) override {
    if (skipDepth_ == 0)
      key_ = name;
    return true;
  }

  bool StartObject() override {
    if (Skipping())
      return true;
    if (place_ == Place::InList) {
      host_ = {};
      address_.reset();
      return Enter(Place::InHost);
    }
    if (place_ == Place::InHistory) {
      sampleS_ = sampleT_ = 0;
      sampleMembers_ = 0;
      return Enter(Place::InSample);
    }
    return PassOver();
  }

  bool EndObject() override {
    if (Leaving())
      return true;
    if (place_ == Place::InSample) {
      TakeSample();
      return Enter(Place::InHistory);
    }
    TakeHost();
    return Enter(Place::InList);
  }

  bool StartArray() override {
    if (Skipping())
      return true;
    if (place_ == Place::BeforeList)
      return Enter(Place::InList);
    if (place_ == Place::InHost && key_ == "PV") {
      host_.PV.clear();
      return Enter(Place::InHistory);
    }
    return PassOver();
  }

  bool EndArray() override {
    if (Leaving())
      return true;
    return Enter(place_ == Place::InHistory ? Place::InHost : Place::AfterList);
  }

 private:
  bool Enter(Place place) {
    place_ = place;
    key_.clear();
    return true;
  }

  void Repair(bool needed) { repaired_ = repaired_ || needed; }

  // A value where the list has no place for it: the file as a whole when it is not an array,
  // else only that value (and a host or sample it stood for) is left out.
  bool PassOver() {
    if (place_ == Place::BeforeList) {
      fault_ = PingListFault::WrongValue;
      return false;
    }
    ++skipDepth_;
    NoteLeftOut();
    return true;
  }

  void NoteLeftOut() {
    if (place_ == Place::InList)
      ++leftOut_;
    else
      repaired_ = true;
  }

  // A member the record does not have is passed over, whatever it holds.
  [[nodiscard]] bool UnknownMember() const {
    if (place_ == Place::InSample)
      return key_ != "S" && key_ != "T";
    if (place_ != Place::InHost)
      return false;
    return key_ != "Sort" && key_ != "PV" && key_ != "Valu" &&
           !FindMember<NumberMember>(kNumberMembers, key_) &&
           !FindMember<TextMember>(kTextMembers, key_);
  }

  [[nodiscard]] bool Passing() const { return skipDepth_ > 0 || UnknownMember(); }

  // An object or array under an unknown member is counted through to its end.
  bool Skipping() {
    if (!Passing())
      return false;
    ++skipDepth_;
    return true;
  }

  bool Leaving() {
    if (skipDepth_ == 0)
      return false;
    --skipDepth_;
    if (skipDepth_ == 0)
      key_.clear();
    return true;
  }

  bool Scalar() {
    if (Passing())
      return true;
    if (place_ == Place::BeforeList) {
      fault_ = PingListFault::WrongValue;
      return false;
    }
    NoteLeftOut();
    return true;
  }

  bool Number(int64_t value, bool cut) {
    if (Passing())
      return true;
    if (place_ == Place::InSample) {
      Repair(cut);
      (key_ == "S" ? sampleS_ : sampleT_) = value;
      sampleMembers_ |= key_ == "S" ? 1 : 2;
      return true;
    }
    if (place_ != Place::InHost)
      return Scalar();
    Repair(cut);
    if (key_ == "Sort")
      return true;  // made again from the address
    if (key_ == "Valu") {
      const bool valid = value >= kLeastAddress && value <= kMostAddress;
      Repair(!valid);
      if (valid)
        address_ = static_cast<uint32_t>(value);
      return true;
    }
    const auto* member = FindMember<NumberMember>(kNumberMembers, key_);
    if (member == nullptr)
      return Scalar();
    const int32_t fitted = Fitted(*member, value);
    Repair(fitted != value);
    host_.*(member->Field) = fitted;
    return true;
  }

  void TakeSample() {
    const bool whole =
        sampleMembers_ == 3 && sampleS_ >= 0 && sampleS_ <= kMostCount && IsSampleValue(sampleT_);
    if (!whole) {
      repaired_ = true;
      return;
    }
    if (host_.PV.size() >= kMaxSamples)
      host_.PV.pop_front();
    host_.PV.push_back(
        {static_cast<int32_t>(sampleS_), static_cast<int32_t>(std::min(sampleT_, kMostCount))});
    Repair(sampleT_ > kMostCount);
  }

  // The dotted address is what the user sees and edits, so it decides; the address value stands
  // in only where there is no dotted one.
  void TakeHost() {
    std::optional<uint32_t> address = ParseIPv4(TrimBlanks(host_.Addr));
    Repair(address && address_ && *address != *address_);
    if (!address) {
      Repair(!host_.Addr.empty());
      address = address_;
    }
    if (!address || *address == 0 || !taken_.insert(*address).second ||
        hosts_.size() >= static_cast<size_t>(kMaxPingHosts)) {
      ++leftOut_;
      return;
    }
    const std::wstring dotted = DottedAddress(*address);
    Repair(!host_.Addr.empty() && host_.Addr != dotted);
    host_.Addr = dotted;
    host_.Valu = static_cast<int32_t>(*address);
    host_.Sort = AddressSortKey(dotted);
    hosts_.push_back(std::move(host_));
  }

  Place place_ = Place::BeforeList;
  std::string key_;
  int skipDepth_ = 0;
  PSys host_;
  std::optional<uint32_t> address_;
  int64_t sampleS_ = 0;
  int64_t sampleT_ = 0;
  int sampleMembers_ = 0;  // 1 S, 2 T
  PingList hosts_;
  std::set<uint32_t> taken_;
  int leftOut_ = 0;
  bool repaired_ = false;
  PingListFault fault_ = PingListFault::None;
};

}  // namespace

PingListReading ReadPingListJson(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark))
    bytes.remove_prefix(kByteOrderMark.size());
  PingListHandler handler;
  return handler.Finish(ReadJsonEvents(bytes, handler));
}

}  // namespace tarvik
