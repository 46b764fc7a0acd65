#include "metrics/exposition_writer.h"

#include <array>
#include <charconv>
#include <cmath>

#include "text/utf8.h"

namespace tarvik {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsHighSurrogate(wchar_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsControl(wchar_t unit) {
  return unit < 0x20 || unit == 0x7F;
}

// The text cut to the longest label, without leaving half of a surrogate pair at the cut, and
// every control character but the line feed replaced.
std::wstring Cleaned(std::wstring_view text) {
  if (text.size() > kMaxLabelCharacters) {
    text = text.substr(0, kMaxLabelCharacters);
    if (IsHighSurrogate(text.back()))
      text.remove_suffix(1);
  }
  std::wstring cleaned(text);
  for (wchar_t& unit : cleaned) {
    if (IsControl(unit) && unit != L'\n')
      unit = kReplacement;
  }
  return cleaned;
}

const char* TypeName(MetricKind kind) {
  return kind == MetricKind::Counter ? "counter" : "gauge";
}

}  // namespace

std::string LabelValue(std::wstring_view text) {
  const std::string utf8 = ToUtf8(Cleaned(text));
  std::string escaped;
  escaped.reserve(utf8.size() + 2);
  for (const char byte : utf8) {
    switch (byte) {
      case '\\':
        escaped += "\\\\";
        break;
      case '"':
        escaped += "\\\"";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        escaped += byte;
    }
  }
  return escaped;
}

std::string LabelSet(const LabelPairs& labels) {
  if (labels.empty())
    return {};
  std::string text = "{";
  for (const auto& [name, value] : labels) {
    if (text.size() > 1)
      text += ',';
    text.append(name);
    text += "=\"";
    text += LabelValue(value);
    text += '"';
  }
  return text + "}";
}

std::string SampleValue(int64_t value) {
  std::array<char, 24> digits{};
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  return {digits.data(), result.ptr};
}

std::string SampleValue(double value) {
  // Whole numbers as integers: 2600000000 Hz rather than 2.6e+09.
  constexpr double kWholeBelow = 9007199254740992.0;  // 2^53: every integer below is exact
  if (value == std::trunc(value) && std::fabs(value) < kWholeBelow)
    return SampleValue(static_cast<int64_t>(value));
  std::array<char, 32> digits{};
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  return {digits.data(), result.ptr};
}

void ExpositionWriter::Family(std::string_view name, std::string_view help, MetricKind kind) {
  name_ = name;
  help_ = help;
  kind_ = kind;
  headerWritten_ = false;
  served_.clear();
}

bool ExpositionWriter::StartSample(const std::string& labels) {
  if (!served_.insert(labels).second)
    return false;
  if (!headerWritten_) {
    headerWritten_ = true;
    text_ += "# HELP " + name_ + " ";
    text_.append(help_);
    text_ += "\n# TYPE " + name_ + " " + TypeName(kind_) + "\n";
  }
  text_ += name_;
  text_ += labels;
  text_ += ' ';
  return true;
}

void ExpositionWriter::Sample(const std::string& labels, int64_t value) {
  if (!StartSample(labels))
    return;
  if (kind_ == MetricKind::Counter)
    value = counters_.Rise(name_ + labels, value);
  text_ += SampleValue(value);
  text_ += '\n';
}

void ExpositionWriter::Sample(const std::string& labels, double value) {
  if (!StartSample(labels))
    return;
  text_ += SampleValue(value);
  text_ += '\n';
}

}  // namespace tarvik
