#include <gtest/gtest.h>

#include "app/tray_icon.h"
#include "core/palette.h"
#include "fakes/fake_file_system.h"
#include "fakes/pixel_canvas.h"
#include "text/translation.h"
#include "ui/file_status.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

TEST(TrayImages, EachImageShowsItsActivityHalves) {
  struct Case {
    int Image;
    Colour Left;   // inside the write half
    Colour Right;  // inside the read half
    Colour Corner;
  };
  const Case cases[] = {
      {gadget::TrayIdleImage, Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0)},
      {gadget::TrayReadImage, Rgb(0, 0, 0), Rgb(0, 255, 255), Rgb(0, 0, 0)},
      {gadget::TrayWriteImage, Rgb(255, 0, 0), Rgb(0, 0, 0), Rgb(128, 0, 0)},
      {gadget::TrayReadWriteImage, Rgb(255, 0, 0), Rgb(0, 255, 255), Rgb(128, 0, 0)},
  };
  for (const Case& entry : cases) {
    fakes::PixelCanvas canvas(16, 16, 0x123456);
    DrawTrayImage(entry.Image, canvas);
    EXPECT_EQ(canvas.At(0, 0), Rgb(255, 255, 255)) << entry.Image;  // white frame
    EXPECT_EQ(canvas.At(15, 15), Rgb(255, 255, 255)) << entry.Image;
    EXPECT_EQ(canvas.At(4, 8), entry.Left) << entry.Image;
    EXPECT_EQ(canvas.At(11, 8), entry.Right) << entry.Image;
    EXPECT_EQ(canvas.At(1, 1), entry.Corner) << entry.Image;
  }
}

class FileStatusTest : public ::testing::Test {
 protected:
  FileStatusTest() {
    LoadTranslations(kEnglish);
    const wchar_t* names[] = {L"Tarvik.exe", L"Tarvik.ini", L"TK202403.log", L"TK-Ping.json",
                              L"TK-Saga.json"};
    for (size_t entry = 0; entry < paths.Files.size(); ++entry) {
      paths.Files[entry].Name = names[entry];
      paths.Files[entry].Folder = L"C:\\Data\\";
      paths.Files[entry].Status = L"absent " + std::to_wstring(entry);
    }
    files.Files[L"C:\\Data\\Tarvik.exe"] = "MZ";
    files.Dates[L"C:\\Data\\Tarvik.exe"] = 1'709'993'107;  // 2024-03-09 14:05:07
    files.Files[L"C:\\Data\\Tarvik.ini"] = "";
    files.Dates[L"C:\\Data\\Tarvik.ini"] = 1'709'993'108;
  }

  Paths paths;
  Settings settings;
  fakes::FakeFileSystem files;
};

TEST_F(FileStatusTest, PresentFilesShowDateAndPlaceAbsentOnesTheirReason) {
  settings.Set(opt::SettingsLoaded, 1);
  RefreshFilePresence(paths, settings, files, true);
  const auto lines = FileStatusLines(paths, false);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], L" EXE File: 2024-03-09 14:05:07 C:\\Data\\Tarvik.exe");
  EXPECT_EQ(lines[1], L" INI File: 2024-03-09 14:05:08 C:\\Data\\Tarvik.ini");
  EXPECT_EQ(lines[2], L" LOG File: absent 2");
  EXPECT_EQ(lines[3], L"JSON File: absent 3");
  EXPECT_EQ(lines[4], L"JSON File: absent 4");
}

TEST_F(FileStatusTest, PortableModeIsNamedAfterTheSettingsFile) {
  settings.Set(opt::SettingsLoaded, 1);
  RefreshFilePresence(paths, settings, files, true);
  EXPECT_EQ(FileStatusLines(paths, true)[1],
            L" INI File: 2024-03-09 14:05:08 C:\\Data\\Tarvik.ini [Portable Mode]");
}

TEST_F(FileStatusTest, OptionsDecideWhichStateFilesCount) {
  settings.Set(opt::LogEnabled, 1);
  settings.Set(opt::RestoreEvents, 1);
  RefreshFilePresence(paths, settings, files, false);
  EXPECT_EQ(paths.Files[kSettingsFileEntry].Present, 0);
  EXPECT_EQ(paths.Files[kLogFileEntry].Present, 1);
  EXPECT_EQ(paths.Files[kPingStateEntry].Present, 1);
  EXPECT_EQ(paths.Files[kSagaStateEntry].Present, 1);
  EXPECT_EQ(paths.Files[kSagaStateEntry].Date, L"");  // counted, but not written yet
}

}  // namespace
}  // namespace tarvik
