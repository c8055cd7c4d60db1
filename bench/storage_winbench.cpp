// The full macro library (128 macros of 512 events) loaded twice in one run: with our profile
// engine (LoadMacroLibrary: one parse per file) and key by key through the system's profile
// functions (GetPrivateProfileStructW per event), as a program on the Win32 profile API would.
// Target: ours at least 100 times faster. Prints the timings; runs under Wine.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/full_library.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/file_io.h"
#include "storage/macro_store.h"
#include "storage/profile.h"

namespace {

using namespace corvane;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The same load through GetPrivateProfile*W: Numbers and names from Corvane.ini, then for each
// macro Numbers and every event key of its file.
void LoadKeyByKey(MacroLibrary& library) {
  std::memset(&library, 0, sizeof library);
  const std::u16string settings = SettingsFilePath();
  int count = static_cast<int>(GetPrivateProfileIntW(L"Macros", L"Numbers", 0, W(settings)));
  count = std::clamp(count, 0, kMaxMacros);
  for (int i = 0; i < count; ++i) {
    wchar_t name[kMacroNameUnits] = {};
    GetPrivateProfileStringW(L"Macros", std::to_wstring(i + 1).c_str(), L"", name, kMacroNameUnits,
                             W(settings));
    CopyName(library.Macros[i].Name, reinterpret_cast<const char16_t*>(name));
  }
  library.MacroCount = count;
  for (int i = 0; i < count; ++i) {
    Macro& macro = library.Macros[i];
    const std::u16string file = MacroFilePath(NameView(macro.Name));
    int events = static_cast<int>(GetPrivateProfileIntW(L"Events", L"Numbers", 0, W(file)));
    events = std::clamp(events, 0, kMaxEvents);
    for (int e = 0; e < events; ++e)
      GetPrivateProfileStructW(L"Events", std::to_wstring(e + 1).c_str(), &macro.Events[e],
                               sizeof macro.Events[e], W(file));
    macro.EventCount = events;
  }
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() /
                          ("corvane-storage-winbench-" + std::to_string(GetCurrentProcessId()));
  fs::remove_all(folder);
  fs::create_directories(folder / "Macros");
  SetAppFolder(folder.u16string());

  bench::WriteFullLibrary();

  // The first loads grow the process heap and fill the file cache; time the settled ones.
  auto ours = std::make_unique<MacroLibrary>();
  for (int i = 0; i < 3; ++i) LoadMacroLibrary(*ours);
  std::vector<double> loads, reads, parses;
  for (int i = 0; i < 11; ++i) {
    const auto t0 = Clock::now();
    LoadMacroLibrary(*ours);
    loads.push_back(Ms(Clock::now() - t0));
  }
  // Where the engine's time goes: reading the 128 files, and parsing them.
  std::vector<std::string> bytes(kMaxMacros);
  for (int i = 0; i < 11; ++i) {
    const auto t0 = Clock::now();
    for (int m = 0; m < kMaxMacros; ++m)
      bytes[m] = file_io::ReadWholeFile(MacroFilePath(NameView(ours->Macros[m].Name))).bytes;
    const auto t1 = Clock::now();
    for (int m = 0; m < kMaxMacros; ++m)
      if (profile::Document::Parse(bytes[m]).GetInt(u"Events", u"Numbers", 0) != kMaxEvents)
        std::printf("a macro file did not parse\n");
    reads.push_back(Ms(t1 - t0));
    parses.push_back(Ms(Clock::now() - t1));
  }

  auto theirs = std::make_unique<MacroLibrary>();
  const auto t0 = Clock::now();
  LoadKeyByKey(*theirs);
  const double keyByKeyMs = Ms(Clock::now() - t0);

  const double engineMs = Median(loads);
  const bool same = std::memcmp(ours->Macros, theirs->Macros, sizeof ours->Macros) == 0 &&
                    ours->MacroCount == kMaxMacros && theirs->MacroCount == kMaxMacros &&
                    ours->Macros[kMaxMacros - 1].EventCount == kMaxEvents;
  std::printf("full macro library, %d macros x %d events\n", kMaxMacros, kMaxEvents);
  std::printf("  profile engine, LoadMacroLibrary (median of 11): %9.1f ms (best %.1f)\n", engineMs,
              *std::min_element(loads.begin(), loads.end()));
  std::printf("    of which reading the 128 files:                %9.1f ms\n", Median(reads));
  std::printf("    of which parsing them:                         %9.1f ms\n", Median(parses));
  std::printf("  GetPrivateProfileStructW key by key (one load):  %9.1f ms\n", keyByKeyMs);
  std::printf("  speed-up: %.0fx (target >= 100x): %s\n", keyByKeyMs / engineMs,
              keyByKeyMs / engineMs >= 100 ? "met" : "NOT met");
  std::printf("  both loads equal: %s\n", same ? "yes" : "NO");

  SetAppFolder(u"");
  std::error_code ec;
  fs::remove_all(folder, ec);
  return same ? 0 : 1;
}
