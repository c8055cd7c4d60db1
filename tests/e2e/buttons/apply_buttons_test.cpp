// From the Buttons page to the mouse and the settings file: on a copy of the demo data, every
// programmable button is given a function through the page's own controls (a standard function
// from the menu, a hot key pressed on the keyboard through the system's input, a macro in each
// execution mode), Apply sends and saves it, and then the saved records and corvane-cli's image
// of that folder show exactly those choices and exactly the reports the mouse received.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_hid_platform.h"
#include "model/records.h"
#include "storage/app_folder.h"
#include "storage/macro_store.h"
#include "storage/settings.h"
#include "ui/buttons_page.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
#include "ui/ui_test_support.h"

namespace corvane::uitest {
namespace {

namespace fs = std::filesystem;
using ui::kButtonRowIds;

constexpr char16_t kMousePath[] = u"\\\\?\\hid#vid_3a7c&pid_0007&mi_01#7&1&0000#{4d1e55b2}";

// Key events that have passed the low-level hooks.
int g_keyEvents = 0;
LRESULT CALLBACK CountKeys(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) ++g_keyEvents;
  return CallNextHookEx(nullptr, code, wp, lp);
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// Runs corvane-cli.exe with the arguments and returns what it printed.
std::string RunCli(const std::wstring& arguments, DWORD& exitCode) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = writeEnd;
  start.hStdError = writeEnd;
  start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"\"" CORVANE_CLI_EXE L"\" " + arguments;
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &start, &process);
  CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
      output.append(buffer, got);
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readEnd);
  return output;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (uint8_t b : bytes) {
    s.push_back(kDigits[b >> 4]);
    s.push_back(kDigits[b & 0xF]);
  }
  return s;
}

class ApplyButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
    // A copy of the demo data: its macros, settings and pictures.
    folder_ = fs::temp_directory_path() /
              (L"corvane-e2e-" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::copy(fs::path(CORVANE_DATA_DIR), folder_, fs::copy_options::recursive);
    SetAppFolder(folder_.u16string());
    hid_.Add(kMousePath, kSupportedVendorId, kSupportedProductId, 8);
    counter_ = SetWindowsHookExW(WH_KEYBOARD_LL, CountKeys, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(counter_, nullptr);
  }
  void TearDown() override {
    dlg_.reset();
    if (counter_) UnhookWindowsHookEx(counter_);
    SetAppFolder(u"");
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  HWND Page() const { return dlg_->ButtonsPage()->Handle(); }
  HWND Item(int id) const { return GetDlgItem(Page(), id); }
  HWND Menu(int row) const { return Item(kButtonRowIds[row].Menu); }

  // Handles messages as the program's loop does until done() or two seconds have passed.
  bool PumpUntil(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
      dlg_->PumpPending();
      if (done()) return true;
      if (std::chrono::steady_clock::now() > deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  void Drain() {
    for (int quiet = 0; quiet < 2;) {
      dlg_->PumpPending();
      quiet = MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT) == WAIT_TIMEOUT
                  ? quiet + 1 : 0;
    }
  }
  void Focus(HWND w) {
    SetFocus(w);
    Drain();
  }
  void Click(HWND w) {
    SendMessageW(w, BM_CLICK, 0, 0);
    Drain();
  }
  void ChooseFunction(int row, int command) {
    prompts_.MenuAnswers = {command};
    Click(Menu(row));
  }
  void ChooseMacro(const std::u16string& name) {
    HWND list = Item(ui::kIdMacroChoice);
    int at = static_cast<int>(SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(name.c_str())));
    ASSERT_GE(at, 0);
    Focus(list);
    // From the neighbour with an arrow key, so the list reports the choice itself.
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(at == 0 ? 1 : at - 1), 0);
    SendMessageW(list, WM_KEYDOWN, at == 0 ? VK_UP : VK_DOWN, 0);
    Drain();
  }
  void TypeInterval(const std::u16string& digits) {
    HWND field = Item(ui::kIdInterval);
    SetWindowTextW(field, L"");
    Focus(field);
    for (char16_t c : digits) SendMessageW(field, WM_CHAR, c, 1);
    Drain();
  }
  void PressKeys(std::vector<INPUT> inputs) {
    int target = g_keyEvents + static_cast<int>(inputs.size());
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
              inputs.size());
    ASSERT_TRUE(PumpUntil([&] { return g_keyEvents >= target; }));
    Drain();
  }

  fs::path folder_;
  fakes::FakeHidPlatform hid_;
  fakes::RecordingSleeper sleeper_;
  FakePointer pointer_;
  FakePrompts prompts_;
  HHOOK counter_ = nullptr;
  std::unique_ptr<ui::CCorvaneDlg> dlg_;
};

TEST_F(ApplyButtonsTest, EveryProgrammableButtonReachesTheMouseAndTheSettingsFile) {
  // The pointer away from the window: no menu button hovered by where it was left.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  dlg_ = std::make_unique<ui::CCorvaneDlg>(ui::Seams{hid_, sleeper_, pointer_, prompts_});
  ASSERT_TRUE(dlg_->CreateMain());
  ShowWindow(dlg_->Handle(), SW_SHOW);
  SetForegroundWindow(dlg_->Handle());
  SendMessageW(GetDlgItem(dlg_->Handle(), ui::kIdTab), TCM_SETCURSEL, ui::kTabButtons, 0);
  NMHDR change{GetDlgItem(dlg_->Handle(), ui::kIdTab), static_cast<UINT_PTR>(ui::kIdTab),
               static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(dlg_->Handle(), WM_NOTIFY, ui::kIdTab, reinterpret_cast<LPARAM>(&change));
  Drain();
  ASSERT_EQ(dlg_->ButtonsPage()->RowCount(), 7);

  // Right button: a standard function from the menu.
  ChooseFunction(1, ID_FUNCTION_BROWSER_HOME);
  // Middle button: a hot key, Ctrl+K pressed on the keyboard while the field has the focus.
  ChooseFunction(2, ID_FUNCTION_HOTKEY);
  ASSERT_EQ(GetFocus(), Item(ui::kIdHotKey));
  PressKeys({Key(VK_LCONTROL, false), Key('K', false), Key('K', true), Key(VK_LCONTROL, true)});
  std::u16string keyText = WindowText(Item(ui::kIdHotKey));
  // Forward, backward and general 1: a macro in each execution mode.
  ChooseFunction(3, ID_FUNCTION_MACRO);  // the focus leaves the hot key field: stored
  ChooseMacro(u"Hello");
  Click(Item(ui::kIdModeAuto));
  TypeInterval(u"150");
  ChooseFunction(4, ID_FUNCTION_MACRO);
  ChooseMacro(u"Burst Fire");
  Click(Item(ui::kIdModeManual));
  TypeInterval(u"300");
  ChooseFunction(5, ID_FUNCTION_MACRO);
  ChooseMacro(u"Copy Paste");
  Click(Item(ui::kIdModeOneShot));
  // General 2: another standard function.
  ChooseFunction(6, ID_FUNCTION_MUTE);

  EXPECT_EQ(WindowText(Menu(2)), u"Hotkey..." + keyText);
  EXPECT_NE(keyText.find(u"K"), std::u16string::npos);
  EXPECT_EQ(WindowText(Menu(4)), u"Macro...Burst Fire");

  hid_.Reports.clear();
  SendMessageW(dlg_->Handle(), WM_COMMAND, MAKEWPARAM(ui::kIdApply, BN_CLICKED), 0);
  Drain();
  ASSERT_FALSE(hid_.Reports.empty());
  EXPECT_TRUE(prompts_.Messages.empty());

  // The saved records, read back as the next start reads them.
  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibrary(*library);
  ButtonSettings options;
  ButtonAssignment saved[kMaxAssignments]{};
  LoadButtonAssignments(options, saved, 7, *library);
  struct Expected {
    int32_t Code;
    uint16_t Vk, Modifiers;
    const char16_t* Macro;
    int32_t Mode;
    uint32_t Interval;
  };
  const Expected expected[] = {
      {25, 0, 0, nullptr, -1, 0},
      {kFunctionHotKey, 'K', kModLeftCtrl, nullptr, -1, 0},
      {kFunctionMacro, 0, 0, u"Hello", kModeAuto, 150},
      {kFunctionMacro, 0, 0, u"Burst Fire", kModeManual, 300},
      {kFunctionMacro, 0, 0, u"Copy Paste", kModeOneShot, 0},
      {34, 0, 0, nullptr, -1, 0},
  };
  for (int k = 1; k <= 6; ++k) {
    const Expected& e = expected[k - 1];
    const ButtonAssignment& a = saved[k];
    SCOPED_TRACE(k);
    EXPECT_EQ(a.FunctionCode, e.Code);
    if (e.Code == kFunctionHotKey) {
      EXPECT_EQ(a.HotKeyVk, e.Vk);
      EXPECT_EQ(a.HotKeyModifiers, e.Modifiers);
    }
    if (e.Macro) {
      EXPECT_EQ(std::u16string(a.MacroName), e.Macro);
      EXPECT_GE(a.MacroIndex, 0);
      EXPECT_EQ(a.ExecutionMode, e.Mode);
      if (e.Mode != kModeOneShot) {
        EXPECT_EQ(a.ExecutionInterval, e.Interval);
      }
    }
  }

  // corvane-cli's image of the folder is what the mouse received, report for report.
  std::string sent;
  for (const fakes::FakeReport& r : hid_.Reports) sent += Hex(r.Bytes) + "\r\n";
  DWORD exitCode = 99;
  std::string image = RunCli(L"image --dir \"" + folder_.wstring() + L"\"", exitCode);
  EXPECT_EQ(exitCode, 0u) << image;
  std::string reports = image.substr(0, image.find("Length:"));
  reports.erase(std::remove(reports.begin(), reports.end(), '\r'), reports.end());
  sent.erase(std::remove(sent.begin(), sent.end(), '\r'), sent.end());
  EXPECT_EQ(reports, sent);
}

}  // namespace
}  // namespace corvane::uitest
