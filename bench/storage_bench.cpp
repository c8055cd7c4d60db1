// Loading what the program loads at start: the full macro library (128 macros of 512 events, the
// name list and 128 macro files) and the settings file. Target: the library under 100 ms.
// Also a pathological settings file, which must load in linear time and bounded memory.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/full_library.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/configuration_json.h"
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

// A pathological settings file: 8 MB of empty section headers, loaded as `corvane-cli show` does
// (every loader parses the file once). Time must grow linearly and memory stay a small multiple
// of the file size; peak_rss_MB is the process's high-water mark after the runs.
void BM_LoadEmptySectionHeaders(benchmark::State& state) {
  const fs::path folder =
      fs::temp_directory_path() / ("corvane-headers-bench-" + std::to_string(getpid()));
  fs::create_directories(folder / "Macros");
  std::string headers;
  const size_t size = static_cast<size_t>(state.range(0)) << 20;
  headers.reserve(size + 4);
  while (headers.size() < size) headers += "[]\r\n";
  {
    std::FILE* file = std::fopen((folder / "Corvane.ini").string().c_str(), "wb");
    std::fwrite(headers.data(), 1, headers.size(), file);
    std::fclose(file);
  }
  headers = std::string();
  SetAppFolder(folder.u16string());
  for (auto _ : state) {
    benchmark::DoNotOptimize(LoadStoredConfiguration());
  }
  SetAppFolder(u"");
  fs::remove_all(folder);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_LoadEmptySectionHeaders)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
