// The settings and macro loaders over arbitrary file bytes: the input becomes Corvane.ini and a
// macro file of a private application folder, every loader runs over them, and what they load
// must keep the records' limits. Nothing may be written outside the folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/macro_name.h"
#include "storage/macro_store.h"
#include "storage/settings.h"

namespace {

using namespace corvane;
namespace fs = std::filesystem;

void Check(bool ok) {
  if (!ok) std::abort();
}

const fs::path& Folder() {
  static const fs::path folder = [] {
    fs::path f = fs::temp_directory_path() / ("corvane-loaders-fuzz-" + std::to_string(getpid()));
    fs::remove_all(f);
    fs::create_directories(f / "Macros");
    SetAppFolder(f.u16string());
    return f;
  }();
  return folder;
}

void Write(const fs::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void CheckMacro(const Macro& m) {
  Check(m.EventCount >= 0 && m.EventCount <= kMaxEvents);
  Check(NameView(m.Name).size() <= static_cast<size_t>(kMacroNameChars));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path& folder = Folder();
  // The first byte splits the rest between the settings file and the macro file.
  const std::string_view rest(reinterpret_cast<const char*>(data) + (size ? 1 : 0),
                              size ? size - 1 : 0);
  const size_t cut = size ? rest.size() * data[0] / 255 : 0;
  Write(folder / "Corvane.ini", rest.substr(0, cut));
  Write(folder / "Macros" / "M.ini", rest.substr(cut));

  ApplicationSettings app;
  HardwareSettings hw;
  LoadHardwareSettings(app, hw);
  Check(hw.ButtonCount >= kMinButtonCount && hw.ButtonCount <= kMaxButtonCount);

  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibrary(*library);
  Check(library->MacroCount >= 0 && library->MacroCount <= kMaxMacros);
  for (const Macro& m : library->Macros) CheckMacro(m);

  ButtonSettings settings;
  ButtonAssignment buttons[kMaxAssignments];
  LoadButtonAssignments(settings, buttons, hw.ButtonCount, *library);
  for (int i = 0; i < hw.ButtonCount; ++i) {
    const ButtonAssignment& a = buttons[i];
    Check(a.ExecutionMode >= kModeAuto && a.ExecutionMode <= kModeOneShot);
    Check(a.ExecutionInterval == settings.IntervalMin ||
          (a.ExecutionInterval >= settings.IntervalMin &&
           a.ExecutionInterval <= settings.IntervalMax));
    Check(a.MacroIndex >= -1 && a.MacroIndex < library->MacroCount);
    Check((a.MacroIndex < 0) == (a.MacroLink == kNoMacroLink));
  }

  PointerSettings pointer = DefaultPointerSettings();
  LoadPointerSettings(pointer);
  Check(pointer.Resolutions >= kMinResolutions && pointer.Resolutions <= kMaxResolutions);
  RecordingOptions options;
  LoadRecordingOptions(options);
  for (int b = 1; b <= kMaxButtonCount; ++b) (void)LoadButtonsDefault(b);

  // The macro file as a per-macro file, as an exchange file, and imported.
  Macro& m = library->Macros[0];
  CopyName(m.Name, u"M");
  LoadMacroEvents(m);
  CheckMacro(m);
  const std::u16string exchange = (folder / "Macros" / "M.ini").u16string();
  LoadMacroEvents(m, &exchange);
  CheckMacro(m);
  const int before = library->MacroCount;
  const int index = ImportMacroFile(*library, exchange);
  Check(index == (before < kMaxMacros ? before : -1));
  if (index >= 0) {
    CheckMacro(library->Macros[index]);
    Check(IsValidMacroName(NameView(library->Macros[index].Name)));
  }

  // Valid names read back from the name list as themselves.
  if (SaveMacroNames(*library, library->MacroCount)) {
    auto again = std::make_unique<MacroLibrary>();
    std::memset(again.get(), 0, sizeof *again);
    Check(LoadMacroNames(*again) == library->MacroCount);
    for (int i = 0; i < library->MacroCount; ++i) {
      const std::u16string_view name = NameView(library->Macros[i].Name);
      if (IsValidMacroName(name)) Check(NameView(again->Macros[i].Name) == name);
    }
  }

  // Nothing but the two files and the Macros folder at the top of the application folder.
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    Check(name == "Corvane.ini" || name == "Macros");
  }
  // Imports add files; keep the folder small.
  for (const auto& entry : fs::directory_iterator(folder / "Macros"))
    if (entry.path().filename() != "M.ini") fs::remove(entry.path());
  return 0;
}
