#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/json_events.h"

namespace tarvik {
namespace {

// Writes the pieces down in a short form; stops at the piece numbered `stopAt`.
class Recorder final : public JsonEvents {
 public:
  std::string Trace;
  int StopAt = -1;

  bool StartObject() override { return Note("{"); }
  bool EndObject() override { return Note("}"); }
  bool StartArray() override { return Note("["); }
  bool EndArray() override { return Note("]"); }
  bool Key(std::string_view name) override { return Note("k:" + std::string(name)); }
  bool String(std::string&& text) override { return Note("s:" + text); }
  bool Integer(int64_t value) override { return Note("i:" + std::to_string(value)); }
  bool Real(double value) override { return Note("r:" + std::to_string(value)); }
  bool OtherValue() override { return Note("o"); }

 private:
  bool Note(const std::string& piece) {
    Trace += (Trace.empty() ? "" : " ") + piece;
    return pieces_++ != StopAt;
  }
  int pieces_ = 0;
};

std::string Read(const std::string& text) {
  Recorder recorder;
  const JsonReadResult result = ReadJsonEvents(text, recorder);
  return result == JsonReadResult::Read ? recorder.Trace : "malformed";
}

TEST(JsonEvents, ReadsEveryPieceAndRefusesWhatIsNotJson) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {" {\"a\" :[1,-2 ,\"x\"],\r\n\t\"b\": {}, \"c\": []} ",
       "{ k:a [ i:1 i:-2 s:x ] k:b { } k:c [ ] }"},
      {"[9223372036854775807, 9223372036854775808]",
       "[ i:9223372036854775807 r:9223372036854775808.000000 ]"},
      {"[-9223372036854775808, -9223372036854775809]",
       "[ i:-9223372036854775808 r:-9223372036854775808.000000 ]"},
      {"[0, -0, 1.5, 1e3, 2E-1, -7.25e-1, true, false, null]",
       "[ i:0 i:0 r:1.500000 r:1000.000000 r:0.200000 r:-0.725000 o o o ]"},
      {"[1e999, -1e999, 1e-999]", "[ r:inf r:-inf r:0.000000 ]"},
      {R"("\"\\\/\b\f\n\r\t\u00e4\ud83d\ude00")", "s:\"\\/\b\f\n\r\t\xC3\xA4\xF0\x9F\x98\x80"},
      {"", "malformed"},
      {"[", "malformed"},
      {"[1,]", "malformed"},
      {"[1 2]", "malformed"},
      {"[1] 2", "malformed"},
      {"{\"a\" 1}", "malformed"},
      {"{1: 2}", "malformed"},
      {"{\"a\": 1,}", "malformed"},
      {"[01]", "malformed"},
      {"[-]", "malformed"},
      {"[1.]", "malformed"},
      {"[1e]", "malformed"},
      {"[tru]", "malformed"},
      {"\"abc", "malformed"},
      {"\"a\nb\"", "malformed"},
      {R"("\x")", "malformed"},
      {R"("\u00e")", "malformed"},
      {R"("\ud800")", "malformed"},
      {R"("\udc00")", "malformed"},
      {R"("\ud800\u0041")", "malformed"},
      {std::string(100000, '[') + std::string(100000, ']'), "deep"},
      {std::string(100000, '['), "malformed"},
  };
  for (const auto& [text, trace] : cases) {
    SCOPED_TRACE(text.substr(0, 40));
    const std::string read = Read(text);
    EXPECT_EQ(trace == "deep" ? read.substr(0, 3) + read.substr(read.size() - 3) : read,
              trace == "deep" ? "[ [] ]" : trace);
  }
}

TEST(JsonEvents, HandlerStopsTheReading) {
  Recorder recorder;
  recorder.StopAt = 2;
  EXPECT_EQ(ReadJsonEvents("[1, 2, 3]", recorder), JsonReadResult::Stopped);
  EXPECT_EQ(recorder.Trace, "[ i:1 i:2");
}

}  // namespace
}  // namespace tarvik
