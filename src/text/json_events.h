#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

// Receives a JSON text piece by piece, in the order it stands. A handler returns false to stop
// the reading there.
class JsonEvents {
 public:
  virtual ~JsonEvents() = default;
  virtual bool StartObject() = 0;
  virtual bool EndObject() = 0;
  virtual bool StartArray() = 0;
  virtual bool EndArray() = 0;
  virtual bool Key(std::string_view name) = 0;
  virtual bool String(std::string&& text) = 0;
  // A number without fraction or exponent that fits 64 bits.
  virtual bool Integer(int64_t value) = 0;
  // Any other number: with a fraction or an exponent, or too large for 64 bits.
  virtual bool Real(double value) = 0;
  // true, false or null.
  virtual bool OtherValue() = 0;
};

enum class JsonReadResult { Read, Malformed, Stopped };

// Reads one JSON value (RFC 8259), with blanks around it and nothing else, and hands its pieces to
// `events`. Nesting is followed without recursion, so no depth costs the stack. Made for large
// texts: a state file of a million values reads in a fraction of what a general document costs.
[[nodiscard]] JsonReadResult ReadJsonEvents(std::string_view text, JsonEvents& events);

}  // namespace tarvik
