// Loading what the program loads at start: the full macro library (128 macros of 512 events, the
// name list and 128 macro files) and the settings file. Target: the library under 100 ms.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/full_library.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/macro_store.h"
#include "storage/settings.h"

namespace {

using namespace corvane;
namespace fs = std::filesystem;

// A full library and settings file in a private folder, written once with the program's own
// saves; removed when the process ends.
class FullFolder {
 public:
  FullFolder() {
    folder_ = fs::temp_directory_path() / ("corvane-storage-bench-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "Macros");
    SetAppFolder(folder_.u16string());
    bench::WriteFullLibrary();
    ButtonAssignment buttons[kMaxAssignments] = {};
    for (int b = 0; b < kMaxAssignments; ++b) {
      buttons[b].FunctionCode = b == 3 ? kFunctionMacro : b;
      CopyName(buttons[b].MacroName, u"Macro C0");
      buttons[b].ExecutionInterval = 100;
    }
    SaveButtonAssignments(buttons, 8);
    PointerSettings pointer = DefaultPointerSettings();
    pointer.Resolutions = 5;
    SavePointerSettings(pointer, 10, 1);
    SaveRecordingOptions(RecordingOptions{});
  }
  ~FullFolder() {
    SetAppFolder(u"");
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

 private:
  fs::path folder_;
};

FullFolder& Folder() {
  static FullFolder folder;
  return folder;
}

void BM_LoadFullMacroLibrary(benchmark::State& state) {
  Folder();
  auto library = std::make_unique<MacroLibrary>();
  for (auto _ : state) {
    LoadMacroLibrary(*library);
    benchmark::DoNotOptimize(library->Macros[kMaxMacros - 1].Events[kMaxEvents - 1]);
  }
  if (library->MacroCount != kMaxMacros || library->Macros[127].EventCount != kMaxEvents)
    state.SkipWithError("the library did not load whole");
}
BENCHMARK(BM_LoadFullMacroLibrary)->Unit(benchmark::kMillisecond);

void BM_LoadOneMacro(benchmark::State& state) {
  Folder();
  Macro macro;
  std::memset(&macro, 0, sizeof macro);
  CopyName(macro.Name, u"Macro A0");
  for (auto _ : state) {
    LoadMacroEvents(macro);
    benchmark::DoNotOptimize(macro.Events[kMaxEvents - 1]);
  }
  if (macro.EventCount != kMaxEvents) state.SkipWithError("the macro did not load");
}
BENCHMARK(BM_LoadOneMacro)->Unit(benchmark::kMicrosecond);

void BM_SaveOneMacro(benchmark::State& state) {
  Folder();
  Macro macro;
  std::memset(&macro, 0, sizeof macro);
  CopyName(macro.Name, u"Macro B0");
  LoadMacroEvents(macro);
  for (auto _ : state) {
    macro.Events[0].Data ^= 1;  // a real change each time
    SaveMacroEvents(macro);
  }
}
BENCHMARK(BM_SaveOneMacro)->Unit(benchmark::kMicrosecond);

// Everything start-up reads from Corvane.ini (which also holds the 128-name list).
void BM_LoadSettings(benchmark::State& state) {
  Folder();
  auto library = std::make_unique<MacroLibrary>();
  std::memset(library.get(), 0, sizeof *library);
  ButtonAssignment buttons[kMaxAssignments];
  for (auto _ : state) {
    ApplicationSettings app;
    HardwareSettings hardware;
    LoadHardwareSettings(app, hardware);
    ButtonSettings settings;
    LoadButtonAssignments(settings, buttons, hardware.ButtonCount, *library);
    PointerSettings pointer = DefaultPointerSettings();
    LoadPointerSettings(pointer);
    RecordingOptions options;
    LoadRecordingOptions(options);
    benchmark::DoNotOptimize(pointer);
    benchmark::DoNotOptimize(buttons);
  }
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

}  // namespace
