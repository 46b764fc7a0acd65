#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_system_info.h"
#include "sysinfo/file_version.h"

namespace tarvik {
namespace {

const std::wstring kFile = L"D:\\Tools\\Tarvik\\Tarvik.exe";

// A file with a US English and a German string table; the English one is listed first.
class FileVersionTest : public testing::Test {
 protected:
  void SetUp() override {
    resources_.LanguageNames[0x0409] = L"English (United States)";
    resources_.LanguageNames[0x0407] = L"German (Germany)";
    resources_.Files[kFile] = {{{0x0409, 0x04B0}, {0x0407, 0x04E4}},
                               {{L"\\StringFileInfo\\040904B0\\FileVersion", L"2.33.0.426"},
                                {L"\\StringFileInfo\\040904B0\\ProductName", L"Tarvik"},
                                {L"\\StringFileInfo\\040904B0\\Comments", L"x64 426.9423"},
                                {L"\\StringFileInfo\\040704E4\\ProductName", L"Tarvik DE"}}};
  }
  std::wstring Field(VersionField field, const std::wstring& path = kFile) {
    return FileVersionField(resources_, path, field);
  }
  fakes::FakeVersionResources resources_;
};

TEST_F(FileVersionTest, ReadsFieldsFromTheFirstLanguagesTable) {
  EXPECT_EQ(Field(VersionField::FileVersion), L"2.33.0.426");
  EXPECT_EQ(Field(VersionField::ProductName), L"Tarvik");
  EXPECT_EQ(Field(VersionField::Comments), L"x64 426.9423");
  EXPECT_EQ(Field(VersionField::Language), L"English (United States)");
}

TEST_F(FileVersionTest, MissingPiecesGiveAnEmptyText) {
  EXPECT_EQ(Field(VersionField::FileVersion, L"D:\\Tools\\Tarvik\\Gone.exe"), L"");
  EXPECT_EQ(Field(VersionField::LegalTrademarks), L"");  // a field the file does not carry
  resources_.Files[kFile].Translations.clear();
  EXPECT_EQ(Field(VersionField::FileVersion), L"");
  EXPECT_EQ(Field(VersionField::Language), L"");
}

TEST_F(FileVersionTest, AnUnknownCodeAsksNothing) {
  EXPECT_EQ(Field(static_cast<VersionField>(3)), L"");
  EXPECT_EQ(Field(static_cast<VersionField>(4100)), L"");
  EXPECT_TRUE(resources_.Queries.empty());
}

TEST(VersionBlockName, IsLanguageThenCodePageInPaddedUpperCaseHex) {
  EXPECT_EQ(VersionBlockName({0x0409, 0x04B0}), L"040904B0");
  EXPECT_EQ(VersionBlockName({0x0C0A, 0x04E4}), L"0C0A04E4");
  EXPECT_EQ(VersionBlockName({0x0000, 0x0000}), L"00000000");
  EXPECT_EQ(VersionBlockName({0xFFFF, 0x000F}), L"FFFF000F");
}

}  // namespace
}  // namespace tarvik
