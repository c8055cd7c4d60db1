// The application folder: where Corvane.ini, Macros, Languages and Devices are found. It is the
// executable's folder unless a folder was set (tests, corvane-cli --dir). Every path is built
// afresh on each call; nothing is cached.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

#ifdef _WIN32
inline constexpr char16_t kFolderSeparator = u'\\';
#else
inline constexpr char16_t kFolderSeparator = u'/';
#endif

// The folder with its trailing separator: the one set by SetAppFolder, else the executable's.
// Empty when neither is known (the paths then are relative to the current directory).
std::u16string AppFolder();

// Points every path at folder (a trailing separator is added when missing); an empty folder
// returns to the executable's folder.
void SetAppFolder(std::u16string folder);

std::u16string SettingsFilePath();                       // <folder>Corvane.ini
std::u16string MacrosFolder();                           // <folder>Macros<sep>
std::u16string MacroFilePath(std::u16string_view name);  // <folder>Macros<sep><name>.ini
std::u16string LanguageFilePath(uint32_t lcid);          // <folder>Languages<sep><lcid>.ini
std::u16string DevicesFolder();                          // <folder>Devices<sep>

// The folder of the running executable, with its trailing separator, or empty when it cannot
// be found. The portable library cannot reach the Win32 lookup (it lives in corvane_win32), so
// a Win32 program installs it once at start with UseModuleFolder(); native builds read
// /proc/self/exe without help.
using FolderLookup = std::u16string (*)();
void SetExecutableFolderLookup(FolderLookup lookup);
std::u16string ExecutableFolder();

#ifdef _WIN32
// GetModuleFileNameW with a growing buffer, so folders beyond 260 characters work
// (app_folder_win32.cpp).
std::u16string ModuleFolder();
// Installs ModuleFolder as the executable-folder lookup.
void UseModuleFolder();
#else
// readlink of /proc/self/exe (app_folder_posix.cpp).
std::u16string ProcessFolder();
#endif

}  // namespace corvane
