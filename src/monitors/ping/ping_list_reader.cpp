#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "monitors/ping/ping_list_json.h"
#include "text/json_events.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

struct NumberMember {
  std::string_view Name;
  int32_t PSys::*Field;
};

constexpr std::array<NumberMember, 15> kNumberMembers = {{
    {"Actv", &PSys::Actv},
    {"Sent", &PSys::Sent},
    {"Recv", &PSys::Recv},
    {"Lost", &PSys::Lost},
    {"Time", &PSys::Time},
    {"Best", &PSys::Best},
    {"Wors", &PSys::Wors},
    {"Down", &PSys::Down},
    {"PTTL", &PSys::PTTL},
    {"PTOS", &PSys::PTOS},
    {"Last", &PSys::Last},
    {"Valu", &PSys::Valu},
    {"HiLi", &PSys::HiLi},
    {"CFor", &PSys::CFor},
    {"CBak", &PSys::CBak},
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

// Where the reader stands in the file's nesting.
enum class Place { BeforeList, InList, InHost, InHistory, InSample, AfterList };

// Takes the text's pieces one by one and builds the list without a document in between: a full
// list holds about a million samples, which as a document would cost several times the file.
class PingListHandler final : public JsonEvents {
 public:
  PingListReading Finish(JsonReadResult result) {
    if (result == JsonReadResult::Malformed)
      fault_ = PingListFault::Damaged;
    if (fault_ != PingListFault::None)
      return {fault_, {}};
    return {PingListFault::None, std::move(hosts_)};
  }

  bool OtherValue() override { return Scalar(); }
  bool Integer(int64_t value) override { return Number(value); }

  bool String(std::string&& value) override {
    if (skipDepth_ > 0 || UnknownMember())
      return true;
    const auto* member =
        place_ == Place::InHost ? FindMember<TextMember>(kTextMembers, key_) : nullptr;
    if (member == nullptr)
      return Refuse(PingListFault::WrongValue);
    hosts_.back().*(member->Field) = FromUtf8(value);
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
      if (hosts_.size() >= static_cast<size_t>(kMaxPingHosts))
        return Refuse(PingListFault::TooManyHosts);
      hosts_.emplace_back();
      return Enter(Place::InHost);
    }
    if (place_ == Place::InHistory) {
      sample_ = {};
      return Enter(Place::InSample);
    }
    return Refuse(PingListFault::WrongValue);
  }

  bool EndObject() override {
    if (Leaving())
      return true;
    if (place_ == Place::InSample) {
      std::deque<PValues>& history = hosts_.back().PV;
      if (history.size() >= kMaxSamples)
        history.pop_front();
      history.push_back(sample_);
      return Enter(Place::InHistory);
    }
    return Enter(Place::InList);
  }

  bool StartArray() override {
    if (Skipping())
      return true;
    if (place_ == Place::BeforeList)
      return Enter(Place::InList);
    if (place_ == Place::InHost && key_ == "PV")
      return Enter(Place::InHistory);
    return Refuse(PingListFault::WrongValue);
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

  bool Refuse(PingListFault fault) {
    fault_ = fault;
    return false;
  }

  // A member the record does not have is passed over, whatever it holds.
  [[nodiscard]] bool UnknownMember() const {
    if (place_ == Place::InSample)
      return key_ != "S" && key_ != "T";
    if (place_ != Place::InHost)
      return false;
    return key_ != "Sort" && key_ != "PV" && !FindMember<NumberMember>(kNumberMembers, key_) &&
           !FindMember<TextMember>(kTextMembers, key_);
  }

  // An object or array under an unknown member is counted through to its end.
  bool Skipping() {
    if (skipDepth_ == 0 && !UnknownMember())
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
    if (skipDepth_ > 0 || UnknownMember())
      return true;
    return Refuse(PingListFault::WrongValue);
  }

  bool Number(int64_t value) {
    if (skipDepth_ > 0 || UnknownMember())
      return true;
    if (place_ == Place::InHost && key_ == "Sort") {
      hosts_.back().Sort = value;
      return true;
    }
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
      return Refuse(PingListFault::WrongValue);
    const auto number = static_cast<int32_t>(value);
    if (place_ == Place::InSample) {
      (key_ == "S" ? sample_.S : sample_.T) = number;
      return true;
    }
    const auto* member =
        place_ == Place::InHost ? FindMember<NumberMember>(kNumberMembers, key_) : nullptr;
    if (member == nullptr)
      return Refuse(PingListFault::WrongValue);
    hosts_.back().*(member->Field) = number;
    return true;
  }

  Place place_ = Place::BeforeList;
  std::string key_;
  int skipDepth_ = 0;
  PValues sample_;
  PingList hosts_;
  PingListFault fault_ = PingListFault::None;
};

}  // namespace

PingListReading ReadPingListJson(std::string_view bytes) {
  PingListHandler handler;
  return handler.Finish(ReadJsonEvents(bytes, handler));
}

}  // namespace tarvik
