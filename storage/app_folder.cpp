#include "storage/app_folder.h"

#include <utility>

#include "storage/file_io.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

std::u16string& FolderOverride() {
  static std::u16string folder;
  return folder;
}

#ifdef _WIN32
FolderLookup g_lookup = nullptr;  // installed by UseModuleFolder()
#else
FolderLookup g_lookup = &ProcessFolder;
#endif

std::u16string Subfolder(std::u16string_view name) {
  std::u16string path = AppFolder();
  path.append(name);
  path.push_back(kFolderSeparator);
  return path;
}

}  // namespace

void SetExecutableFolderLookup(FolderLookup lookup) { g_lookup = lookup; }

std::u16string ExecutableFolder() { return g_lookup ? g_lookup() : std::u16string(); }

void SetAppFolder(std::u16string folder) {
  if (!folder.empty() && !file_io::IsSeparator(folder.back())) folder.push_back(kFolderSeparator);
  FolderOverride() = std::move(folder);
}

std::u16string AppFolder() {
  const std::u16string& folder = FolderOverride();
  return folder.empty() ? ExecutableFolder() : folder;
}

std::u16string SettingsFilePath() { return AppFolder() + u"Corvane.ini"; }

std::u16string MacrosFolder() { return Subfolder(u"Macros"); }

std::u16string MacroFilePath(std::u16string_view name) {
  std::u16string path = MacrosFolder();
  path.append(name);
  path.append(u".ini");
  return path;
}

std::u16string LanguageFilePath(uint32_t lcid) {
  return Subfolder(u"Languages") + text::DecimalText(lcid) + u".ini";
}

std::u16string DevicesFolder() { return Subfolder(u"Devices"); }

}  // namespace corvane
