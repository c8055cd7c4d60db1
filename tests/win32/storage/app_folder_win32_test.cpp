// The executable's folder on Windows, through GetModuleFileNameW.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "storage/app_folder.h"

namespace corvane {
namespace {

TEST(ModuleFolderTest, IsTheFolderOfTheRunningExecutable) {
  const std::u16string folder = ModuleFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(u'\\', folder.back());
  wchar_t exe[32768];
  const DWORD n = GetModuleFileNameW(nullptr, exe, 32768);
  ASSERT_GT(n, 0u);
  const std::u16string path(reinterpret_cast<const char16_t*>(exe), n);
  EXPECT_EQ(path.substr(0, folder.size()), folder);
  EXPECT_EQ(std::u16string::npos, path.find(u'\\', folder.size()));
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(path)));
}

TEST(ModuleFolderTest, UseModuleFolderMakesItTheApplicationFolder) {
  SetAppFolder(u"");
  UseModuleFolder();
  EXPECT_EQ(ModuleFolder(), AppFolder());
  EXPECT_EQ(ModuleFolder() + u"Corvane.ini", SettingsFilePath());
  SetAppFolder(u"C:\\elsewhere");
  EXPECT_EQ(u"C:\\elsewhere\\Corvane.ini", SettingsFilePath());
  SetAppFolder(u"");
  SetExecutableFolderLookup(nullptr);
}

}  // namespace
}  // namespace corvane
