#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "text/translation.h"
#include "text/utf8.h"

namespace tarvik {
namespace {

// A literal key handed to Tr or TrFixed somewhere in the sources.
struct KeyUse {
  int Line = 0;
  bool Fixed = false;
  std::wstring Key;
};

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

void AppendCodePoint(std::string& utf8, char32_t code) {
  if (code < 0x80) {
    utf8 += static_cast<char>(code);
  } else if (code < 0x800) {
    utf8 += static_cast<char>(0xC0 | (code >> 6));
    utf8 += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    utf8 += static_cast<char>(0xE0 | (code >> 12));
    utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    utf8 += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    utf8 += static_cast<char>(0xF0 | (code >> 18));
    utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    utf8 += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Reads the body of a string literal that starts at `at` (just past the opening quote) and
// leaves `at` past the closing quote.
std::wstring ReadLiteral(std::string_view source, size_t& at) {
  std::string utf8;
  while (at < source.size() && source[at] != '"') {
    const char c = source[at++];
    if (c != '\\' || at >= source.size()) {
      utf8 += c;
      continue;
    }
    const char escape = source[at++];
    const size_t hexDigits = escape == 'u' ? 4 : escape == 'U' ? 8 : escape == 'x' ? 2 : 0;
    uint32_t code = 0;
    if (hexDigits > 0 && at + hexDigits <= source.size() &&
        std::from_chars(&source[at], &source[at] + hexDigits, code, 16).ec == std::errc()) {
      AppendCodePoint(utf8, code);
      at += hexDigits;
    } else if (escape == 'n') {
      utf8 += '\n';
    } else if (escape == 'r') {
      utf8 += '\r';
    } else if (escape == 't') {
      utf8 += '\t';
    } else {
      utf8 += escape;
    }
  }
  ++at;
  return FromUtf8(utf8);
}

// Finds Tr(L"..."), TrFixed(L"...") and TrFor(L"...", ...) outside comments and other literals.
std::vector<KeyUse> FindLiteralKeys(std::string_view source) {
  std::vector<KeyUse> uses;
  int line = 1;
  size_t at = 0;
  auto skipTo = [&](std::string_view end) {
    const size_t found = source.find(end, at);
    const size_t stop = found == std::string_view::npos ? source.size() : found + end.size();
    for (; at < stop; ++at)
      line += source[at] == '\n' ? 1 : 0;
  };
  while (at < source.size()) {
    const std::string_view rest = source.substr(at);
    if (rest.starts_with("//")) {
      skipTo("\n");
    } else if (rest.starts_with("/*")) {
      skipTo("*/");
    } else if (rest.front() == '"' ||
               (rest.front() == '\'' &&
                (at == 0 || !std::isdigit(static_cast<unsigned char>(source[at - 1]))))) {
      const char quote = rest.front();
      for (++at; at < source.size() && source[at] != quote; ++at) {
        if (source[at] == '\\')
          ++at;
      }
      ++at;
    } else if ((rest.starts_with("TrFixed(") || rest.starts_with("TrFor(") ||
                rest.starts_with("Tr(")) &&
               (at == 0 || !IsIdentifierChar(source[at - 1]))) {
      const bool fixed = rest.starts_with("TrFixed(");
      size_t open = at + rest.find('(') + 1;
      while (open < source.size() && source[open] == ' ')
        ++open;
      if (source.substr(open, 2) == "L\"") {
        at = open + 2;
        uses.push_back({line, fixed, ReadLiteral(source, at)});
      } else {
        at = open;
      }
    } else {
      line += rest.front() == '\n' ? 1 : 0;
      ++at;
    }
  }
  return uses;
}

TEST(TranslationKeys, ScannerFindsLiteralKeysOnlyInCode) {
  const std::string source =
      "// Tr(L\"in a comment\")\n"
      "auto a = Tr(L\"Yes\") + TrFixed( L\"Batt\");\n"
      "/* TrFixed(L\"in a block\") */ auto b = MyTr(L\"not ours\");\n"
      "auto c = \"Tr(L\\\"in a string\\\")\"; auto d = Tr(key) + 1'000;\n"
      "auto e = Tr(L\"Say \\\"\\u00E4\\\"\");\n"
      "auto f = TrFor(L\"No\", language) + TrFormat(L\"not ours either\");\n";
  const std::vector<KeyUse> uses = FindLiteralKeys(source);
  ASSERT_EQ(uses.size(), 4u);
  EXPECT_EQ(uses[0].Key, L"Yes");
  EXPECT_EQ(uses[1].Key, L"Batt");
  EXPECT_TRUE(uses[1].Fixed);
  EXPECT_EQ(uses[2].Key, L"Say \"\u00E4\"");
  EXPECT_EQ(uses[2].Line, 5);
  EXPECT_EQ(uses[3].Key, L"No");
  EXPECT_FALSE(uses[3].Fixed);
}

// Every literal key that the program looks up must be in the compiled-in table; a missing key
// would show as an empty text.
TEST(TranslationKeys, EveryLiteralKeyInTheSourcesIsInTheTable) {
  LoadTranslations(kEnglish);  // in English every present key shows itself
  const std::filesystem::path sources = std::filesystem::path(TARVIK_SOURCE_DIR) / "src";
  ASSERT_TRUE(std::filesystem::is_directory(sources));
  std::vector<std::string> missing;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(sources)) {
    const std::filesystem::path& path = entry.path();
    if (!entry.is_regular_file() || (path.extension() != ".cpp" && path.extension() != ".h")) {
      continue;
    }
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    for (const KeyUse& use : FindLiteralKeys(content.str())) {
      const std::wstring shown = use.Fixed ? TrFixed(use.Key) : Tr(use.Key);
      if (shown != use.Key) {
        missing.push_back(path.lexically_relative(TARVIK_SOURCE_DIR).string() + ":" +
                          std::to_string(use.Line) + ": " + (use.Fixed ? "TrFixed" : "Tr") +
                          "(L\"" + ToUtf8(use.Key) + "\")");
      }
    }
  }
  for (const std::string& use : missing)
    ADD_FAILURE() << "key not in the table: " << use;
}

}  // namespace
}  // namespace tarvik
