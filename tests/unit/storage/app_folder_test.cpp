#include "storage/app_folder.h"

#include <gtest/gtest.h>

#include <string>

#include "app_folder_fixture.h"
#include "model/text.h"
#include "storage/macro_store.h"
#include "storage/settings.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class AppFolderPaths : public ::testing::Test {
 protected:
  void TearDown() override { SetAppFolder(u""); }
};

TEST_F(AppFolderPaths, BuildsEveryPathFromTheFolder) {
  const std::u16string sep(1, kFolderSeparator);
  for (const std::u16string& set : {std::u16string(u"base"), u"base" + sep}) {
    SetAppFolder(set);
    EXPECT_EQ(u"base" + sep, AppFolder());
    EXPECT_EQ(u"base" + sep + u"Corvane.ini", SettingsFilePath());
    EXPECT_EQ(u"base" + sep + u"Macros" + sep, MacrosFolder());
    EXPECT_EQ(u"base" + sep + u"Macros" + sep + u"Fire.ini", MacroFilePath(u"Fire"));
    EXPECT_EQ(u"base" + sep + u"Macros" + sep + u".ini", MacroFilePath(u""));
    EXPECT_EQ(u"base" + sep + u"Languages" + sep + u"1031.ini", LanguageFilePath(1031));
    EXPECT_EQ(u"base" + sep + u"Languages" + sep + u"4294967295.ini",
              LanguageFilePath(0xFFFFFFFFu));
    EXPECT_EQ(u"base" + sep + u"Devices" + sep, DevicesFolder());
  }
#ifdef _WIN32
  SetAppFolder(u"C:/x/");  // either separator ends a Windows folder
  EXPECT_EQ(u"C:/x/Corvane.ini", SettingsFilePath());
#endif
}

TEST_F(AppFolderPaths, AnEmptyFolderReturnsToTheExecutablesFolder) {
  SetAppFolder(u"elsewhere");
  SetAppFolder(u"");
  EXPECT_EQ(ExecutableFolder(), AppFolder());
  SetExecutableFolderLookup([]() -> std::u16string { return u"exe/"; });
  EXPECT_EQ(u"exe/Corvane.ini", SettingsFilePath());
  SetAppFolder(u"set");
  EXPECT_EQ(u"set" + std::u16string(1, kFolderSeparator), AppFolder());
  SetExecutableFolderLookup(nullptr);
  SetAppFolder(u"");
  EXPECT_EQ(u"", AppFolder());
  EXPECT_EQ(u"Corvane.ini", SettingsFilePath());
#ifndef _WIN32
  SetExecutableFolderLookup(&ProcessFolder);
#endif
}

#ifndef _WIN32
TEST_F(AppFolderPaths, TheProcessFolderHoldsTheRunningExecutable) {
  const std::u16string folder = ProcessFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(u'/', folder.back());
  EXPECT_TRUE(fs::exists(fs::path(folder) / "unit_storage"));
  EXPECT_EQ(folder, AppFolder());
}
#endif

// Folders far beyond 260 characters work for the settings and the macro files.
class LongAppFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testing::UniqueTempFolder("corvane-long-");
    fs::path deep = root_;
    for (int i = 0; i < 6; ++i) deep /= std::string(60, static_cast<char>('a' + i));
    folder_ = deep;
    fs::create_directories(folder_ / "Macros");
    SetAppFolder(folder_.u16string());
  }
  void TearDown() override {
    SetAppFolder(u"");
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path root_, folder_;
};

TEST_F(LongAppFolder, SettingsAndMacrosLoadAndSave) {
  ASSERT_GT(SettingsFilePath().size(), 300u);
  RecordingOptions options;
  options.RecordingHotkey = 0x40075;
  ASSERT_TRUE(SaveRecordingOptions(options));
  RecordingOptions loaded;
  LoadRecordingOptions(loaded);
  EXPECT_EQ(0x40075u, loaded.RecordingHotkey);

  auto library = testing::NewLibrary();
  ASSERT_EQ(0, NewMacro(*library));
  library->Macros[0].EventCount = 2;
  library->Macros[0].Events[1] = {kMsgDelay, 250};
  ASSERT_TRUE(SaveMacroEvents(library->Macros[0]));
  ASSERT_TRUE(SaveMacroNames(*library, library->MacroCount));
  ASSERT_TRUE(RenameMacro(*library, 0, u"Fire"));
  ASSERT_TRUE(SaveMacroNames(*library, library->MacroCount));
  EXPECT_TRUE(fs::exists(folder_ / "Macros" / "Fire.ini"));

  LoadMacroLibrary(*library);
  ASSERT_EQ(1, library->MacroCount);
  EXPECT_EQ(u"Fire", NameView(library->Macros[0].Name));
  EXPECT_EQ(2, library->Macros[0].EventCount);
  EXPECT_EQ(250, library->Macros[0].Events[1].Data);
}

}  // namespace
}  // namespace corvane
