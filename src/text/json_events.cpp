#include "text/json_events.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

#include "text/utf8.h"

namespace tarvik {
namespace {

constexpr uint64_t kMaxMagnitude = static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A number's text that is valid JSON; one too large for a double reads as infinity, one too
// small as 0.
double RealValue(std::string_view number) {
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  static_cast<void>(end);
  if (error == std::errc::result_out_of_range) {
    const bool tiny = number.find_first_of("eE") != std::string_view::npos &&
                      number[number.find_first_of("eE") + 1] == '-';
    const double huge = std::numeric_limits<double>::infinity();
    value = tiny ? 0.0 : (number.front() == '-' ? -huge : huge);
  }
  return value;
}

std::optional<uint32_t> HexValue(std::string_view digits) {
  uint32_t value = 0;
  for (const char c : digits) {
    value <<= 4;
    if (IsDigit(c))
      value |= static_cast<uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f')
      value |= static_cast<uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      value |= static_cast<uint32_t>(c - 'A' + 10);
    else
      return std::nullopt;
  }
  return value;
}

class JsonReader {
 public:
  JsonReader(std::string_view text, JsonEvents& events) : text_(text), events_(events) {}

  JsonReadResult Read() {
    bool going = Value();
    while (going && !open_.empty()) {
      if (firstPending_) {
        firstPending_ = false;
        going = open_.back() ? Member() : Value();
      } else {
        going = AfterValue();
      }
    }
    if (!going)
      return stopped_ ? JsonReadResult::Stopped : JsonReadResult::Malformed;
    SkipBlanks();
    return at_ == text_.size() ? JsonReadResult::Read : JsonReadResult::Malformed;
  }

 private:
  bool Tell(bool goOn) {
    stopped_ = !goOn;
    return goOn;
  }

  void SkipBlanks() {
    while (at_ < text_.size() && IsBlank(text_[at_]))
      ++at_;
  }

  // The next character after blanks, taken; '\0' at the end.
  char Next() {
    SkipBlanks();
    return at_ < text_.size() ? text_[at_++] : '\0';
  }

  // An object or array that is not empty stays open, its first member or element still to come.
  bool Open(bool object) {
    if (!Tell(object ? events_.StartObject() : events_.StartArray()))
      return false;
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == (object ? '}' : ']')) {
      ++at_;
      return Tell(object ? events_.EndObject() : events_.EndArray());
    }
    open_.push_back(object);
    firstPending_ = true;
    return true;
  }

  // One value; of an object or array only its opening.
  bool Value() {
    SkipBlanks();
    if (at_ >= text_.size())
      return false;
    switch (text_[at_]) {
      case '{':
      case '[':
        return Open(text_[at_++] == '{');
      case '"': {
        ++at_;
        std::string text;
        return StringBody(text) && Tell(events_.String(std::move(text)));
      }
      case 't':
        return Word("true");
      case 'f':
        return Word("false");
      case 'n':
        return Word("null");
      default:
        return Number();
    }
  }

  bool Member() {
    std::string name;
    if (Next() != '"' || !StringBody(name) || Next() != ':')
      return false;
    return Tell(events_.Key(name)) && Value();
  }

  // After a value inside an object or array: the next member or element, or the close.
  bool AfterValue() {
    const bool inObject = open_.back();
    const char c = Next();
    if (c == ',')
      return inObject ? Member() : Value();
    if (c != (inObject ? '}' : ']'))
      return false;
    open_.pop_back();
    return Tell(inObject ? events_.EndObject() : events_.EndArray());
  }

  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word)
      return false;
    at_ += word.size();
    return Tell(events_.OtherValue());
  }

  size_t Digits() {
    const size_t start = at_;
    while (at_ < text_.size() && IsDigit(text_[at_]))
      ++at_;
    return at_ - start;
  }

  bool Number() {
    const size_t first = at_;
    const bool negative = at_ < text_.size() && text_[at_] == '-';
    at_ += negative ? 1 : 0;
    const size_t start = at_;
    const size_t digits = Digits();
    if (digits == 0 || (digits > 1 && text_[start] == '0'))
      return false;
    bool whole = true;
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      whole = false;
      if (Digits() == 0)
        return false;
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      whole = false;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-'))
        ++at_;
      if (Digits() == 0)
        return false;
    }
    uint64_t magnitude = 0;
    for (size_t i = start; whole && i < start + digits; ++i) {
      const auto digit = static_cast<uint64_t>(text_[i] - '0');
      whole = magnitude <= (kMaxMagnitude - digit) / 10;
      magnitude = magnitude * 10 + digit;
    }
    if (!whole || (!negative && magnitude == kMaxMagnitude))
      return Tell(events_.Real(RealValue(text_.substr(first, at_ - first))));
    const int64_t value =
        negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return Tell(events_.Integer(value));
  }

  // The rest of a string after its opening quote, unescaped into `out`.
  bool StringBody(std::string& out) {
    while (at_ < text_.size()) {
      const size_t start = at_;
      while (at_ < text_.size() && text_[at_] != '"' && text_[at_] != '\\' &&
             static_cast<unsigned char>(text_[at_]) >= 0x20)
        ++at_;
      out.append(text_.substr(start, at_ - start));
      if (at_ >= text_.size() || static_cast<unsigned char>(text_[at_]) < 0x20)
        return false;
      if (text_[at_++] == '"')
        return true;
      if (!Escape(out))
        return false;
    }
    return false;
  }

  bool Escape(std::string& out) {
    if (at_ >= text_.size())
      return false;
    const char c = text_[at_++];
    constexpr std::string_view kNamed = "\"\"\\\\//b\bf\fn\nr\rt\t";
    for (size_t i = 0; i < kNamed.size(); i += 2) {
      if (kNamed[i] == c) {
        out += kNamed[i + 1];
        return true;
      }
    }
    if (c != 'u')
      return false;
    std::optional<uint32_t> code = Unit();
    if (!code || (*code >= 0xDC00 && *code < 0xE000))
      return false;
    if (*code >= 0xD800 && *code < 0xDC00) {
      if (text_.substr(at_, 2) != "\\u")
        return false;
      at_ += 2;
      const std::optional<uint32_t> low = Unit();
      if (!low || *low < 0xDC00 || *low >= 0xE000)
        return false;
      code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
    }
    AppendUtf8(out, *code);
    return true;
  }

  // Four hex digits of a \u escape.
  std::optional<uint32_t> Unit() {
    if (text_.size() - at_ < 4)
      return std::nullopt;
    at_ += 4;
    return HexValue(text_.substr(at_ - 4, 4));
  }

  std::string_view text_;
  JsonEvents& events_;
  size_t at_ = 0;
  std::vector<bool> open_;  // the objects (true) and arrays (false) around the reading place
  bool firstPending_ = false;
  bool stopped_ = false;
};

}  // namespace

JsonReadResult ReadJsonEvents(std::string_view text, JsonEvents& events) {
  return JsonReader(text, events).Read();
}

}  // namespace tarvik
