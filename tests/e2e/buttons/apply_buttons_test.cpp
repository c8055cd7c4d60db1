// From the Buttons page to the mouse and the settings file: on a copy of the demo data, every
// programmable button is given a function through the page's own controls (a standard function
// from the menu, a hot key pressed on the keyboard through the system's input, a macro in each
// execution mode), Apply sends and saves it, and then the saved records and corvane-cli's image
// of that folder show exactly those choices and exactly the reports the mouse received.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
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
#include "win32/input_support.h"

namespace corvane::uitest {
namespace {

namespace fs = std::filesystem;
using testinput::KeyInput;

constexpr char16_t kMousePath[] = u"\\\\?\\hid#vid_3a7c&pid_0007&mi_01#7&1&0000#{4d1e55b2}";

// Key events that have passed the low-level hooks.
int g_keyEvents = 0;
LRESULT CALLBACK CountKeys(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) ++g_keyEvents;
  return CallNextHookEx(nullptr, code, wp, lp);
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
    folder_ =
        fs::temp_directory_path() / (L"corvane-e2e-" + std::to_wstring(GetCurrentProcessId()));
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

  void PressKeys(std::vector<INPUT> inputs) {
    int target = g_keyEvents + static_cast<int>(inputs.size());
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
              inputs.size());
    ASSERT_TRUE(testinput::PumpUntil([&] { return g_keyEvents >= target; }, dlg_->Handle()));
    Drain(*dlg_);
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
  ShowTab(*dlg_, ui::kTabButtons);
  ASSERT_EQ(dlg_->ButtonsPage()->RowCount(), 7);
  ButtonsPageUser user(*dlg_, prompts_);

  // Right button: a standard function from the menu.
  user.ChooseFunction(1, ID_FUNCTION_BROWSER_HOME);
  // Middle button: a hot key, Ctrl+K pressed on the keyboard while the field has the focus.
  user.ChooseFunction(2, ID_FUNCTION_HOTKEY);
  ASSERT_EQ(GetFocus(), user.Item(ui::kIdHotKey));
  PressKeys({KeyInput(VK_LCONTROL, false), KeyInput('K', false), KeyInput('K', true),
             KeyInput(VK_LCONTROL, true)});
  std::u16string keyText = WindowText(user.Item(ui::kIdHotKey));
  // Forward, backward and general 1: a macro in each execution mode.
  user.ChooseFunction(3, ID_FUNCTION_MACRO);  // the focus leaves the hot key field: stored
  ASSERT_TRUE(user.ChooseMacro(u"Hello"));
  user.Click(user.Item(ui::kIdModeAuto));
  user.TypeInterval(u"150");
  user.ChooseFunction(4, ID_FUNCTION_MACRO);
  ASSERT_TRUE(user.ChooseMacro(u"Burst Fire"));
  user.Click(user.Item(ui::kIdModeManual));
  user.TypeInterval(u"300");
  user.ChooseFunction(5, ID_FUNCTION_MACRO);
  ASSERT_TRUE(user.ChooseMacro(u"Copy Paste"));
  user.Click(user.Item(ui::kIdModeOneShot));
  // General 2: another standard function.
  user.ChooseFunction(6, ID_FUNCTION_MUTE);

  EXPECT_EQ(WindowText(user.Menu(2)), u"Hotkey..." + keyText);
  EXPECT_NE(keyText.find(u"K"), std::u16string::npos);
  EXPECT_EQ(WindowText(user.Menu(4)), u"Macro...Burst Fire");

  hid_.Reports.clear();
  SendMessageW(dlg_->Handle(), WM_COMMAND, MAKEWPARAM(ui::kIdApply, BN_CLICKED), 0);
  Drain(*dlg_);
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
  std::string image =
      RunProgram(L"\"" CORVANE_CLI_EXE L"\" image --dir \"" + folder_.wstring() + L"\"", exitCode);
  EXPECT_EQ(exitCode, 0u) << image;
  std::string reports = image.substr(0, image.find("Length:"));
  reports.erase(std::remove(reports.begin(), reports.end(), '\r'), reports.end());
  sent.erase(std::remove(sent.begin(), sent.end(), '\r'), sent.end());
  EXPECT_EQ(reports, sent);
}

// Corvane.ini without the sections of the DPI stages, so every stage takes its default, and with
// the system pointer values the fake reports, so Apply has nothing of its own to change.
std::string SettingsWithoutStages(const std::string& settings) {
  std::string kept;
  bool skipping = false;
  size_t at = 0;
  while (at < settings.size()) {
    size_t end = settings.find('\n', at);
    end = end == std::string::npos ? settings.size() : end + 1;
    const std::string line = settings.substr(at, end - at);
    if (!line.empty() && line[0] == '[') skipping = line.rfind("[Resolution", 0) == 0;
    if (!skipping) kept += line;
    if (line.rfind("[Hardware]", 0) == 0) kept += "PointerSpeed=10\r\nPointerAcceleration=0\r\n";
    at = end;
  }
  return kept;
}

TEST_F(ApplyButtonsTest, ApplyWithoutEditsSendsTheImageAndChangesNoStoredValue) {
  const fs::path ini = folder_ / "Corvane.ini";
  std::string settings;
  {
    std::ifstream in(ini, std::ios::binary);
    settings.assign(std::istreambuf_iterator<char>(in), {});
  }
  std::ofstream(ini, std::ios::binary | std::ios::trunc) << SettingsWithoutStages(settings);
  pointer_.SpeedValue = 10;
  pointer_.MouseValue = {6, 10, 1};  // acceleration position 0
  const std::wstring dir = L" --dir \"" + folder_.wstring() + L"\"";
  DWORD exitCode = 99;
  const std::string stored = RunProgram(L"\"" CORVANE_CLI_EXE L"\" show --json" + dir, exitCode);
  ASSERT_EQ(exitCode, 0u) << stored;
  std::string lines = stored;
  lines.erase(std::remove(lines.begin(), lines.end(), '\r'), lines.end());
  ASSERT_NE(lines.find("\"dpiX\": [\n      400,\n      800,\n      1600,\n      3200"),
            std::string::npos)
      << stored;
  std::string image = RunProgram(L"\"" CORVANE_CLI_EXE L"\" image" + dir, exitCode);
  ASSERT_EQ(exitCode, 0u) << image;

  dlg_ = std::make_unique<ui::CCorvaneDlg>(ui::Seams{hid_, sleeper_, pointer_, prompts_});
  ASSERT_TRUE(dlg_->CreateMain());
  ShowWindow(dlg_->Handle(), SW_SHOW);
  hid_.Reports.clear();
  SendMessageW(dlg_->Handle(), WM_COMMAND, MAKEWPARAM(ui::kIdApply, BN_CLICKED), 0);
  Drain(*dlg_);
  EXPECT_TRUE(prompts_.Messages.empty());

  // What the mouse received is what image said the next Apply sends.
  std::string sent;
  for (const fakes::FakeReport& r : hid_.Reports) sent += Hex(r.Bytes) + "\n";
  image = image.substr(0, image.find("Length:"));
  image.erase(std::remove(image.begin(), image.end(), '\r'), image.end());
  EXPECT_EQ(image, sent);
  // And every stored value is as it was.
  EXPECT_EQ(RunProgram(L"\"" CORVANE_CLI_EXE L"\" show --json" + dir, exitCode), stored);
}

}  // namespace
}  // namespace corvane::uitest
