#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "metrics/rising_counters.h"

namespace tarvik {

// The longest label value served, in characters; a longer reading is cut.
inline constexpr size_t kMaxLabelCharacters = 256;

// A label value as the text format carries it, in UTF-8: backslash, double quote and line feed
// become \\, \" and \n, and any other control character U+FFFD, so that no reading (a volume
// label, an adapter's name, a host's description) can end the line or start one of its own.
[[nodiscard]] std::string LabelValue(std::wstring_view text);

// A label set: "{name="value",...}" with each value escaped; empty for no labels.
using LabelPairs = std::vector<std::pair<std::string_view, std::wstring_view>>;
[[nodiscard]] std::string LabelSet(const LabelPairs& labels);

// A sample value's text: whole numbers exactly, others in the shortest form that reads back the
// same.
[[nodiscard]] std::string SampleValue(int64_t value);
[[nodiscard]] std::string SampleValue(double value);

enum class MetricKind { Gauge, Counter };

// Writes a page of the Prometheus text format (version 0.0.4), one family after another. A family's
// HELP and TYPE lines come with its first sample, so a family without samples leaves no trace. A
// second sample of a family with the same labels is dropped: the page never holds one series
// twice. A whole-number counter goes through the rising counters, so it never falls between pages.
class ExpositionWriter {
 public:
  // Room for `expectedBytes` is taken at once, so that a page as long as the last one is written
  // without being moved as it grows.
  ExpositionWriter(RisingCounters& counters, size_t expectedBytes) : counters_(counters) {
    text_.reserve(expectedBytes);
  }

  void Family(std::string_view name, std::string_view help, MetricKind kind);
  void Sample(const std::string& labels, int64_t value);
  // A fractional counter (the program's own processor time) is written as read: it cannot fall.
  void Sample(const std::string& labels, double value);

  [[nodiscard]] std::string Take() { return std::move(text_); }

 private:
  // False when the labels were served already in this family.
  bool StartSample(const std::string& labels);

  RisingCounters& counters_;
  std::string text_;
  std::string name_;
  std::string_view help_;
  MetricKind kind_ = MetricKind::Gauge;
  bool headerWritten_ = false;
  std::unordered_set<std::string> served_;
};

}  // namespace tarvik
