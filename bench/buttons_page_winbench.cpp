// The Buttons page in the main window, on a copy of the demo data: making the window (which makes
// the page, reads its settings and decodes the pictures), the first showing of the Buttons tab,
// and switching the current row between two rows, whose picture is drawn from memory. Prints the
// median timings; runs under Wine.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "device/hid_win32.h"
#include "device/sleeper.h"
#include "storage/app_folder.h"
#include "ui/buttons_page.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
#include "ui/prompts.h"
#include "ui/system_pointer.h"

namespace {

using namespace corvane;
using namespace corvane::ui;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void SelectTab(HWND main, int index) {
  HWND tab = GetDlgItem(main, kIdTab);
  SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR change{tab, static_cast<UINT_PTR>(kIdTab), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(main, WM_NOTIFY, kIdTab, reinterpret_cast<LPARAM>(&change));
}

}  // namespace

int main() {
  // A copy, since the window writes its recording options when it ends.
  fs::path folder = fs::temp_directory_path() / "corvane-buttons-bench";
  fs::remove_all(folder);
  fs::copy(fs::path(CORVANE_DATA_DIR), folder, fs::copy_options::recursive);
  SetAppFolder(folder.u16string());
  INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
  InitCommonControlsEx(&icc);
  auto hid = CreateWin32HidPlatform();
  Win32Sleeper sleeper;
  Seams seams{*hid, sleeper, Win32SystemPointer(), Win32Prompts()};

  constexpr int kWindows = 7;
  constexpr int kSwitches = 400;
  std::vector<double> make, firstShow, switchRows;
  for (int run = 0; run < kWindows; ++run) {
    auto start = Clock::now();
    auto dialog = std::make_unique<CCorvaneDlg>(seams);
    if (!dialog->CreateMain()) {
      std::printf("buttons_page_winbench: cannot make the main window\n");
      return 1;
    }
    ShowWindow(dialog->Handle(), SW_SHOW);
    UpdateWindow(dialog->Handle());
    make.push_back(Ms(Clock::now() - start));

    CButtonsDlg& page = *dialog->ButtonsPage();
    start = Clock::now();
    SelectTab(dialog->Handle(), kTabButtons);
    RedrawWindow(page.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    firstShow.push_back(Ms(Clock::now() - start));
    if (run == 0 && page.Pictures()[1].Empty()) {
      std::printf("buttons_page_winbench: the shipped pictures did not load\n");
      return 1;
    }

    // The focus moving between the right and the middle button's rows, as a Tab key would move
    // it: the row becomes current, its details and its picture are shown at once.
    HWND rows[] = {GetDlgItem(page.Handle(), kButtonRowIds[1].Menu),
                   GetDlgItem(page.Handle(), kButtonRowIds[2].Menu)};
    if (run == 0) {
      for (int i = 0; i < kSwitches; ++i) {
        start = Clock::now();
        SetFocus(rows[i % 2]);
        switchRows.push_back(Ms(Clock::now() - start));
      }
    }
    dialog.reset();
  }
  std::printf("main window with its five pages made and shown:  %8.3f ms (first %8.3f ms)\n",
              Median(make), make[0]);
  std::printf("Buttons tab shown the first time:                %8.3f ms (first %8.3f ms)\n",
              Median(firstShow), firstShow[0]);
  std::printf("switch the current row, picture from memory:    %8.3f ms\n", Median(switchRows));
  fs::remove_all(folder);
  return 0;
}
