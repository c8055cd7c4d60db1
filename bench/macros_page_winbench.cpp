// The Macros page with a full library (128 macros of 512 events): where its start-up goes
// (loading the library, then the page filling its lists), filling the event list with one
// 512-event macro, and switching the selection between two such macros as a user clicking
// through the list does. Prints the timings; runs under Wine.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/full_library.h"
#include "storage/app_folder.h"
#include "storage/macro_store.h"
#include "storage/profile.h"
#include "storage/settings.h"
#include "ui/framework/controls.h"
#include "ui/ids.h"
#include "ui/macros_page.h"
#include "ui/page.h"
#include "ui/prompts.h"

namespace {

using namespace corvane;
using namespace corvane::ui;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

class Host : public PageHost {
 public:
  uint32_t Language() const override { return 0; }
  SystemPointer& Pointer() override { return *static_cast<SystemPointer*>(nullptr); }
  Prompts& Asker() override { return Win32Prompts(); }
  const HardwareSettings& Hardware() const override { return hardware_; }
  const profile::Document& StoredSettings() override {
    settings_ = LoadSettingsDocument();
    return settings_;
  }

 private:
  HardwareSettings hardware_{};
  profile::Document settings_;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Selects a row of the macro list as a click or an arrow key does; the page fills the event list.
void Select(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
  InitCommonControlsEx(&icc);
  const fs::path folder = fs::temp_directory_path() /
                          ("corvane-macros-winbench-" + std::to_string(GetCurrentProcessId()));
  fs::remove_all(folder);
  fs::create_directories(folder / "Macros");
  SetAppFolder(folder.u16string());
  bench::WriteFullLibrary();

  HWND parent = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 620, 440,
                                nullptr, nullptr, nullptr, nullptr);
  Host host;
  auto library = std::make_unique<MacroLibrary>();
  std::vector<double> loads, creates, fills, switches;
  for (int run = 0; run < 5; ++run) {
    auto t0 = Clock::now();
    LoadMacroLibrary(*library);
    loads.push_back(Ms(Clock::now() - t0));

    CMacrosDlg page(host);
    t0 = Clock::now();
    page.CreatePage(parent);
    creates.push_back(Ms(Clock::now() - t0));
    ShowWindow(page.Handle(), SW_SHOW);
    Pump();
    HWND list = GetDlgItem(page.Handle(), kIdMacroList);
    HWND events = GetDlgItem(page.Handle(), kIdEventList);
    for (int i = 0; i < 10; ++i) {
      t0 = Clock::now();
      Select(list, 1 + i % 2);
      UpdateWindow(events);  // the rows painted, as the user sees them
      switches.push_back(Ms(Clock::now() - t0));
      if (ListView(events).Count() != kMaxEvents) std::printf("the event list is not full\n");
    }
    // Filling alone: the same macro again, after a switch away.
    for (int i = 0; i < 5; ++i) {
      Select(list, 0);
      Pump();
      t0 = Clock::now();
      Select(list, 3);
      fills.push_back(Ms(Clock::now() - t0));
    }
    page.Destroy();
    Pump();
  }
  std::printf("Macros page, full library (%d macros x %d events), medians\n", kMaxMacros,
              kMaxEvents);
  std::printf("  loading the library alone:                 %8.1f ms\n", Median(loads));
  std::printf("  creating the page (load, lists, first fill): %6.1f ms\n", Median(creates));
  std::printf("  filling the event list with 512 events:    %8.1f ms\n", Median(fills));
  std::printf("  switching between two such macros, painted: %7.1f ms\n", Median(switches));
  DestroyWindow(parent);
  SetAppFolder(u"");
  std::error_code ec;
  fs::remove_all(folder, ec);
  return 0;
}
