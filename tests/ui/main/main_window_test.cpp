// The main window driven by messages, with fake HID, sleeper, system pointer and prompts.
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_hid_platform.h"
#include "model/macro_links.h"
#include "model/text.h"
#include "storage/configuration_backup.h"
#include "storage/file_io.h"
#include "storage/macro_store.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
#include "ui/ui_test_support.h"

namespace corvane::uitest {
namespace {

using ui::CCorvaneDlg;

constexpr char16_t kMousePath[] = u"\\\\?\\hid#vid_3a7c&pid_0007&mi_01#7&1&0000#{4d1e55b2}";

std::u16string Builtin(uint32_t id) { return std::u16string(BuiltinString(id)); }

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
  }
  void TearDown() override { dlg_.reset(); }

  void PlugMouse() { hid_.Add(kMousePath, kSupportedVendorId, kSupportedProductId, 8); }
  void SetDemo() { folder_.Write(L"Corvane.ini", "[Application]\r\nDemo=1\r\n"); }

  void Start() {
    dlg_ = std::make_unique<CCorvaneDlg>(ui::Seams{hid_, sleeper_, pointer_, prompts_});
    ASSERT_TRUE(dlg_->CreateMain());
    ShowWindow(Main(), SW_SHOW);
  }
  HWND Main() const { return dlg_->Handle(); }
  HWND Item(int id) const { return GetDlgItem(Main(), id); }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

  // A click on a tab as the tab control reports it.
  void SelectTab(int index) {
    NMHDR n{Item(ui::kIdTab), static_cast<UINT_PTR>(ui::kIdTab),
            static_cast<UINT>(TCN_SELCHANGING)};
    SendMessageW(Main(), WM_NOTIFY, ui::kIdTab, reinterpret_cast<LPARAM>(&n));
    SendMessageW(Item(ui::kIdTab), TCM_SETCURSEL, index, 0);
    n.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageW(Main(), WM_NOTIFY, ui::kIdTab, reinterpret_cast<LPARAM>(&n));
  }

  LRESULT DeviceChange(UINT event, const std::u16string& name) {
    std::vector<BYTE> buffer(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + name.size() * 2 + 2, 0);
    auto* b = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
    b->dbcc_size = static_cast<DWORD>(buffer.size());
    b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    for (size_t i = 0; i < name.size(); ++i) b->dbcc_name[i] = static_cast<wchar_t>(name[i]);
    return SendMessageW(Main(), WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(b));
  }

  void Apply() { SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(ui::kIdApply, BN_CLICKED), 0); }

  // Row k as the pages show it: the Buttons page's function menu button and the Overview's value.
  HWND ButtonMenu(int k) const {
    return GetDlgItem(dlg_->ButtonsPage()->Handle(), ui::kButtonRowIds[k].Menu);
  }
  std::u16string ButtonMenuText(int k) const { return WindowText(ButtonMenu(k)); }
  std::u16string OverviewValue(int k) const {
    return WindowText(GetDlgItem(dlg_->OverviewPage()->Handle(), ui::kIdRowValue0 + k));
  }

  TempAppFolder folder_;
  fakes::FakeHidPlatform hid_;
  fakes::RecordingSleeper sleeper_;
  FakePointer pointer_;
  FakePrompts prompts_;
  std::unique_ptr<CCorvaneDlg> dlg_;
};

int g_settingsReads = 0;
void CountSettingsReads(const std::u16string& path) {
  if (std::filesystem::path(path).filename() == "Corvane.ini") ++g_settingsReads;
}

TEST_F(MainWindowTest, AStartReadsCorvaneIniOnceForEveryPage) {
  folder_.Write(L"Corvane.ini",
                "[Application]\r\nDemo=1\r\n[Hardware]\r\nButtons=5\r\n[ResolutionX]\r\n1=5\r\n"
                "[Recording]\r\nRecordingMouse=0\r\n[Macros]\r\nNumbers=1\r\n1=Fire\r\n");
  g_settingsReads = 0;
  file_io::SetReadObserver(CountSettingsReads);
  Start();
  file_io::SetReadObserver(nullptr);
  EXPECT_EQ(g_settingsReads, 1);
  // Every owner read its keys from that one reading.
  EXPECT_EQ(dlg_->Hardware().ButtonCount, 5);
  EXPECT_EQ(dlg_->PointerPage()->Settings().ResolutionX[0], 5);
  EXPECT_EQ(dlg_->PointerPage()->Settings().ResolutionX[1], 3);  // the default ladder
  EXPECT_EQ(dlg_->MacrosPage()->Options().RecordingMouse, 0);
  EXPECT_EQ(dlg_->MacrosPage()->Library().MacroCount, 1);
}

TEST_F(MainWindowTest, AbsentMouseShowsTheNoticeInsteadOfThePages) {
  Start();
  EXPECT_TRUE(Visible(ui::kIdNotice));
  EXPECT_TRUE(Visible(ui::kIdNoticeIcon));
  EXPECT_EQ(WindowText(Item(ui::kIdNotice)), Builtin(768));
  EXPECT_FALSE(Visible(ui::kIdTab));
  EXPECT_FALSE(IsWindowVisible(dlg_->OverviewPage()->Handle()));
  EXPECT_FALSE(Enabled(IDOK));
  EXPECT_FALSE(Enabled(ui::kIdApply));
  EXPECT_TRUE(Enabled(IDCANCEL));
  EXPECT_TRUE(Enabled(ui::kIdHelp));
}

TEST_F(MainWindowTest, DemoModeShowsThePagesWithoutAMouse) {
  SetDemo();
  Start();
  EXPECT_FALSE(Visible(ui::kIdNotice));
  EXPECT_FALSE(Visible(ui::kIdNoticeIcon));
  EXPECT_TRUE(Visible(ui::kIdTab));
  EXPECT_TRUE(IsWindowVisible(dlg_->OverviewPage()->Handle()));
  EXPECT_FALSE(IsWindowVisible(dlg_->PointerPage()->Handle()));
  EXPECT_TRUE(Enabled(IDOK));
  EXPECT_TRUE(Enabled(ui::kIdApply));
  EXPECT_TRUE(Enabled(IDCANCEL));
}

TEST_F(MainWindowTest, TabsAndPagesAreBuiltOnceAndPagesSitBelowTheTabs) {
  PlugMouse();
  Start();
  ui::TabControl tab(Main(), ui::kIdTab);
  ASSERT_EQ(tab.Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tab.ItemText(i), Builtin(176 + i));
  EXPECT_EQ(tab.Selection(), 0);
  RECT tabRect{}, pageRect{}, item{};
  GetWindowRect(tab.Handle(), &tabRect);
  GetWindowRect(dlg_->PointerPage()->Handle(), &pageRect);
  tab.ItemRect(0, item);
  EXPECT_EQ(pageRect.left, tabRect.left);
  EXPECT_EQ(pageRect.top, tabRect.top + (item.bottom - item.top));
  EXPECT_EQ(pageRect.bottom, tabRect.bottom);
  // A device change reruns the initialisation without adding tabs.
  DeviceChange(DBT_DEVICEREMOVECOMPLETE, kMousePath);
  EXPECT_EQ(tab.Count(), 5);
}

TEST_F(MainWindowTest, PagesSwitchWithTheTabs) {
  PlugMouse();
  Start();
  ui::Page* pages[] = {dlg_->OverviewPage(), dlg_->ButtonsPage(), dlg_->PointerPage(),
                       dlg_->ScrollingPage(), dlg_->MacrosPage()};
  for (int i : {2, 3, 4, 1, 0}) {
    SelectTab(i);
    EXPECT_EQ(dlg_->SelectedTab(), i);
    for (int k = 0; k < 5; ++k)
      EXPECT_EQ(IsWindowVisible(pages[k]->Handle()) != FALSE, k == i)
          << "tab " << i << " page " << k;
  }
}

TEST_F(MainWindowTest, UnplugHidesThePageAndTheFourthArrivalBringsItBack) {
  PlugMouse();
  Start();
  SelectTab(ui::kTabButtons);
  HWND buttons = dlg_->ButtonsPage()->Handle();
  ASSERT_TRUE(IsWindowVisible(buttons));

  hid_.Remove(kMousePath);
  EXPECT_EQ(DeviceChange(DBT_DEVICEREMOVECOMPLETE, kMousePath), TRUE);
  EXPECT_FALSE(IsWindowVisible(buttons));
  EXPECT_FALSE(Visible(ui::kIdTab));
  EXPECT_TRUE(Visible(ui::kIdNotice));
  EXPECT_FALSE(Enabled(IDOK));
  EXPECT_FALSE(Enabled(ui::kIdApply));

  PlugMouse();
  for (int arrival = 1; arrival <= 3; ++arrival) {
    EXPECT_EQ(DeviceChange(DBT_DEVICEARRIVAL, kMousePath), TRUE);
    EXPECT_FALSE(Visible(ui::kIdTab)) << "arrival " << arrival;
  }
  EXPECT_EQ(DeviceChange(DBT_DEVICEARRIVAL, kMousePath), TRUE);
  EXPECT_TRUE(Visible(ui::kIdTab));
  EXPECT_FALSE(Visible(ui::kIdNotice));
  EXPECT_TRUE(IsWindowVisible(buttons));
  EXPECT_EQ(dlg_->ButtonsPage()->Handle(), buttons);  // the same page, not a new one
  EXPECT_EQ(dlg_->SelectedTab(), ui::kTabButtons);
  EXPECT_TRUE(Enabled(IDOK));
}

TEST_F(MainWindowTest, OtherDeviceNotificationsChangeNothing) {
  PlugMouse();
  Start();
  EXPECT_EQ(SendMessageW(Main(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0), TRUE);
  EXPECT_EQ(DeviceChange(DBT_DEVICEREMOVECOMPLETE, u"\\\\?\\hid#vid_1234&pid_0001#x"), TRUE);
  EXPECT_TRUE(Visible(ui::kIdTab));
}

TEST_F(MainWindowTest, EscapeAndHelpDoNothing) {
  PlugMouse();
  Start();
  SetFocus(Item(IDCANCEL));
  for (HWND target : {Item(IDCANCEL), Main(), Item(ui::kIdTab)}) {
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_CHAR, 27, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  }
  EXPECT_TRUE(dlg_->PumpPending());
  EXPECT_FALSE(dlg_->Ended());
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(ui::kIdHelp, BN_CLICKED), 0);
  EXPECT_TRUE(dlg_->PumpPending());
  EXPECT_FALSE(dlg_->Ended());
  EXPECT_TRUE(prompts_.Messages.empty());
  EXPECT_TRUE(IsWindow(Main()));
}

// What a window was sent, recorded by a subclass.
std::vector<MSG> g_received;
LRESULT CALLBACK RecordMessages(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (m == WM_MOUSEMOVE || m == WM_TIMER || m == WM_CHAR || m == WM_KEYDOWN)
    g_received.push_back(MSG{w, m, wp, lp, 0, {}});
  return DefSubclassProc(w, m, wp, lp);
}

TEST_F(MainWindowTest, OnlyTheEscapeKeyIsHeldBack) {
  PlugMouse();
  Start();
  HWND target = Item(IDCANCEL);
  ASSERT_TRUE(SetWindowSubclass(target, RecordMessages, 1, 0));
  g_received.clear();
  // Key flags of a mouse move adding up to 0x1B, a timer numbered 27 and the character 27 (what
  // Ctrl+[ types) are not the Escape key.
  constexpr WPARAM kLooksLikeEscape = MK_LBUTTON | MK_RBUTTON | MK_CONTROL | MK_MBUTTON;
  static_assert(kLooksLikeEscape == VK_ESCAPE);
  PostMessageW(target, WM_MOUSEMOVE, kLooksLikeEscape, MAKELPARAM(3, 4));
  PostMessageW(target, WM_TIMER, 27, 0);
  PostMessageW(target, WM_CHAR, 27, 0x001A0001);
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_TRUE(dlg_->PumpPending());
  RemoveWindowSubclass(target, RecordMessages, 1);
  std::vector<std::pair<UINT, WPARAM>> got;
  for (const MSG& m : g_received) got.emplace_back(m.message, m.wParam);
  std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_MOUSEMOVE, kLooksLikeEscape}, {WM_TIMER, 27}, {WM_CHAR, 27}};
  EXPECT_EQ(got, expected);
  EXPECT_FALSE(dlg_->Ended());
}

TEST_F(MainWindowTest, CloseBoxActsAsCancelAndTheRecordingKeysAreWritten) {
  PlugMouse();
  Start();
  EXPECT_EQ(folder_.Profile(L"Recording", L"RecordingMouse"), L"<missing>");
  SendMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
  dlg_->PumpPending();
  ASSERT_TRUE(dlg_->Ended());
  EXPECT_EQ(dlg_->Result(), IDCANCEL);
  dlg_->Destroy();
  for (const wchar_t* key : {L"RecordingMouse", L"RecordingKeyboard", L"RecordingDelay",
                             L"RecordingMinimize", L"RecordingUseHotkey", L"RecordingHotkey"})
    EXPECT_NE(folder_.Profile(L"Recording", key), L"<missing>") << key;
  EXPECT_EQ(folder_.Profile(L"Hardware", L"PointerSpeed"), L"<missing>");  // Cancel applies nothing
}

TEST_F(MainWindowTest, AWindowEndedByItsDestructorStillSavesTheRecordingKeys) {
  PlugMouse();
  Start();
  dlg_.reset();
  EXPECT_NE(folder_.Profile(L"Recording", L"RecordingMouse"), L"<missing>");
}

TEST_F(MainWindowTest, OkAppliesAndEnds) {
  SetDemo();
  Start();
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(dlg_->Ended());
  EXPECT_EQ(dlg_->Result(), IDOK);
  EXPECT_EQ(pointer_.SpeedWrites.size(), 1u);
}

// Records the About boxes that open and closes each at once.
std::vector<std::u16string> g_opened;
LRESULT CALLBACK CloseAboutBox(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    HWND w = reinterpret_cast<HWND>(wp);
    std::u16string caption = WindowText(w);
    if (caption == u"About Corvane") {
      g_opened.push_back(caption);
      PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(MainWindowTest, SystemCommandsSixteenToThirtyOneOpenTheAboutBox) {
  PlugMouse();
  Start();
  HMENU menu = GetSystemMenu(Main(), FALSE);
  wchar_t text[128] = {};
  GetMenuStringW(menu, 0x10, text, 128, MF_BYCOMMAND);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), Builtin(169));

  HHOOK hook = SetWindowsHookExW(WH_CBT, CloseAboutBox, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  for (WPARAM command = 0; command < 48; ++command) {
    g_opened.clear();
    SendMessageW(Main(), WM_SYSCOMMAND, command, 0);
    EXPECT_EQ(g_opened.size(), (command >= 16 && command <= 31) ? 1u : 0u) << command;
  }
  UnhookWindowsHookEx(hook);
  EXPECT_FALSE(dlg_->Ended());
}

// The system menu's configuration items: a backup through the save dialog, a change applied,
// a restore through the open dialog; the pages are rebuilt from the restored files.
TEST_F(MainWindowTest, SystemMenuBacksUpAndRestoresTheWholeConfiguration) {
  SetDemo();
  ButtonAssignment stored[7] = {};
  for (int i = 0; i < 7; ++i) stored[i].FunctionCode = i + 1;
  stored[2].FunctionCode = 33;  // Play/Pause
  ASSERT_TRUE(SaveButtonAssignments(stored, 7));
  Start();

  HMENU menu = GetSystemMenu(Main(), FALSE);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 3);
  const struct {
    UINT Command;
    uint32_t Text;
  } items[] = {{ui::kSysCommandAbout, IDS_ABOUTBOX},
               {ui::kSysCommandBackup, IDS_BACKUP_CONFIGURATION},
               {ui::kSysCommandRestore, IDS_RESTORE_CONFIGURATION}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(GetMenuItemID(menu, count - 3 + i), items[i].Command);
    wchar_t text[128] = {};
    GetMenuStringW(menu, items[i].Command, text, 128, MF_BYCOMMAND);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), Builtin(items[i].Text));
  }

  const std::u16string saved = (folder_.Path() / L"saved.json").u16string();
  prompts_.SaveAnswers.push_back(saved);
  SendMessageW(Main(), WM_SYSCOMMAND, ui::kSysCommandBackup, 0);
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(saved)));
  EXPECT_EQ(prompts_.FileTitles.back(), Builtin(IDS_BACKUP_TITLE));
  EXPECT_NE(folder_.Read(L"saved.json").find("\"name\": \"Play/Pause\""), std::string::npos);

  // Button 3 becomes Mute through its function menu and is applied (demo mode saves the
  // buttons); both pages show it.
  EXPECT_EQ(ButtonMenuText(2), u"Play/Pause");
  EXPECT_EQ(OverviewValue(2), u"Play/Pause");
  SelectTab(ui::kTabButtons);
  prompts_.MenuAnswers = {ID_FUNCTION_MUTE};
  SendMessageW(ButtonMenu(2), BM_CLICK, 0, 0);
  dlg_->PumpPending();
  Apply();
  ButtonAssignment check[7] = {};
  ButtonSettings settings;
  LoadButtonAssignments(settings, check, 7, dlg_->MacrosPage()->Library());
  ASSERT_EQ(check[2].FunctionCode, 34);
  EXPECT_EQ(ButtonMenuText(2), u"Mute");
  SelectTab(ui::kTabOverview);
  EXPECT_EQ(OverviewValue(2), u"Mute");

  // A restore that is not confirmed changes nothing.
  prompts_.OpenAnswers.push_back(saved);
  prompts_.Answers.push_back(IDNO);
  SendMessageW(Main(), WM_SYSCOMMAND, ui::kSysCommandRestore, 0);
  EXPECT_EQ(dlg_->ButtonsPage()->Assignments()[2].FunctionCode, 34);

  prompts_.OpenAnswers.push_back(saved);
  prompts_.Answers.push_back(IDYES);
  const size_t asked = prompts_.Messages.size();
  SendMessageW(Main(), WM_SYSCOMMAND, ui::kSysCommandRestore, 0);
  EXPECT_EQ(prompts_.FileTitles.back(), Builtin(IDS_RESTORE_TITLE));
  ASSERT_EQ(prompts_.Messages.size(), asked + 1);  // the question, and no error
  EXPECT_EQ(prompts_.Messages.back().Text,
            FormatMessageText(BuiltinString(IDS_RESTORE_CONFIRM), saved));
  EXPECT_EQ(dlg_->ButtonsPage()->Assignments()[2].FunctionCode, 33);
  LoadButtonAssignments(settings, check, 7, dlg_->MacrosPage()->Library());
  EXPECT_EQ(check[2].FunctionCode, 33);
  // The pages are made again and the Overview is shown, as at start.
  EXPECT_EQ(dlg_->SelectedTab(), ui::kTabOverview);
  EXPECT_EQ(dlg_->VisiblePage(), dlg_->OverviewPage());
  EXPECT_TRUE(IsWindowVisible(dlg_->OverviewPage()->Handle()));
  EXPECT_TRUE(IsWindow(dlg_->ButtonsPage()->Handle()));
  EXPECT_FALSE(IsWindowVisible(dlg_->ButtonsPage()->Handle()));
  EXPECT_FALSE(dlg_->Ended());
  // What the user sees: the restored function on the Overview and on the Buttons page.
  EXPECT_EQ(OverviewValue(2), u"Play/Pause");
  SelectTab(ui::kTabButtons);
  EXPECT_TRUE(IsWindowVisible(ButtonMenu(2)));
  EXPECT_EQ(ButtonMenuText(2), u"Play/Pause");
  EXPECT_EQ(dlg_->ButtonsPage()->SelectorText(2), u"Play/Pause");
  SelectTab(ui::kTabOverview);
  EXPECT_EQ(OverviewValue(2), u"Play/Pause");
}

// A restore of a mouse with fewer buttons, made while a row beyond its count was current: the
// Buttons page starts again at the right button, with its picture, details and the focus.
TEST_F(MainWindowTest, ARestoreWithFewerButtonsStartsTheButtonsPageAtTheRightButton) {
  folder_.Write(L"Corvane.ini", "[Application]\r\nDemo=1\r\n[Hardware]\r\nButtons=3\r\n");
  const std::u16string saved = (folder_.Path() / L"three.json").u16string();
  std::u16string error;
  ASSERT_TRUE(BackupConfiguration(saved, error)) << std::string(error.begin(), error.end());
  folder_.Write(L"Corvane.ini", "[Application]\r\nDemo=1\r\n[Hardware]\r\nButtons=7\r\n");
  Start();
  SelectTab(ui::kTabButtons);
  SetFocus(ButtonMenu(6));
  dlg_->PumpPending();
  ASSERT_EQ(dlg_->ButtonsPage()->CurrentButton(), 6);

  prompts_.OpenAnswers.push_back(saved);
  prompts_.Answers.push_back(IDYES);
  SendMessageW(Main(), WM_SYSCOMMAND, ui::kSysCommandRestore, 0);
  ASSERT_EQ(dlg_->ButtonsPage()->RowCount(), 3);
  SelectTab(ui::kTabButtons);
  dlg_->PumpPending();
  EXPECT_EQ(dlg_->ButtonsPage()->CurrentButton(), 1);
  EXPECT_EQ(GetFocus(), ButtonMenu(1));
  EXPECT_EQ(dlg_->ButtonsPage()->ShownPicture(), 1);
}

TEST_F(MainWindowTest, AFailedRestoreSaysWhyAndChangesNothing) {
  SetDemo();
  Start();
  dlg_->ButtonsPage()->Assignments()[1].FunctionCode = 34;  // an edit not applied
  const std::string settings = folder_.Read(L"Corvane.ini");
  folder_.Write(L"bad.json", "{\"schema\": \"corvane-configuration\", \"version\": 7}");
  prompts_.OpenAnswers.push_back((folder_.Path() / L"bad.json").u16string());
  prompts_.Answers.push_back(IDYES);
  SendMessageW(Main(), WM_SYSCOMMAND, ui::kSysCommandRestore, 0);
  ASSERT_EQ(prompts_.Messages.size(), 2u);
  EXPECT_EQ(
      prompts_.Messages[1].Text,
      FormatMessageText(BuiltinString(IDS_RESTORE_FAILED),
                        u"$.version: version 7 is not supported; this program reads version 1"));
  EXPECT_EQ(prompts_.Messages[1].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(dlg_->ButtonsPage()->Assignments()[1].FunctionCode, 34);
  EXPECT_EQ(folder_.Read(L"Corvane.ini"), settings);
}

TEST_F(MainWindowTest, QueryDragIconGivesTheWindowIcon) {
  Start();
  EXPECT_NE(SendMessageW(Main(), WM_QUERYDRAGICON, 0, 0), 0);
}

TEST_F(MainWindowTest, ApplyWithoutMouseOrDemoSavesEverythingButTheButtons) {
  Start();
  Apply();
  EXPECT_TRUE(sleeper_.Pauses.empty());
  EXPECT_EQ(pointer_.SpeedWrites.size(), 1u);
  EXPECT_EQ(pointer_.LineWrites.size(), 1u);
  EXPECT_NE(folder_.Profile(L"Hardware", L"PointerSpeed"), L"<missing>");
  EXPECT_NE(folder_.Profile(L"Hardware", L"PointerAcceleration"), L"<missing>");
  EXPECT_NE(folder_.Profile(L"Recording", L"RecordingHotkey"), L"<missing>");
  EXPECT_EQ(folder_.Profile(L"Buttons", L"1"), L"<missing>");
  EXPECT_TRUE(prompts_.Messages.empty());  // nothing was meant to reach a mouse
}

TEST_F(MainWindowTest, ApplyInDemoModeSavesTheButtonsAfterHalfASecond) {
  SetDemo();
  Start();
  Apply();
  EXPECT_EQ(sleeper_.Pauses, std::vector<uint32_t>{500});
  for (int i = 1; i <= 7; ++i)
    EXPECT_EQ(folder_.Profile(L"Buttons", std::to_wstring(i).c_str()).size(), 562u) << i;
  EXPECT_EQ(folder_.Profile(L"Buttons", L"8"), L"<missing>");
  EXPECT_TRUE(hid_.Reports.empty());
  EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(MainWindowTest, ApplyWhoseLastReportFailsKeepsTheOldButtonsAndSaysSo) {
  PlugMouse();
  folder_.Write(L"Corvane.ini", "[Buttons]\r\n1=OLD\r\n");
  hid_.Find(kMousePath)->FailReports = true;
  Start();
  Apply();
  EXPECT_FALSE(hid_.Reports.empty());
  EXPECT_EQ(folder_.Profile(L"Buttons", L"1"), L"OLD");
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(prompts_.Messages[0].Text, Builtin(776));
  EXPECT_EQ(prompts_.Messages[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
  // The other saves still happen.
  EXPECT_EQ(pointer_.SpeedWrites.size(), 1u);
  EXPECT_NE(folder_.Profile(L"Hardware", L"PointerSpeed"), L"<missing>");
}

TEST_F(MainWindowTest, ApplyThatReachesTheMouseSavesTheButtonsQuietly) {
  PlugMouse();
  Start();
  Apply();
  ASSERT_FALSE(hid_.Reports.empty());
  EXPECT_EQ(hid_.Reports.front().Bytes[1], 0x04);
  EXPECT_EQ(hid_.Reports.back().Bytes[1], 0x03);
  EXPECT_EQ(folder_.Profile(L"Buttons", L"1").size(), 562u);
  EXPECT_TRUE(prompts_.Messages.empty());
}

// A library of macros saved through the store, so the window loads it as a user's would.
void SaveLibrary(int count, int events, bool assignToButtons) {
  auto library = std::make_unique<MacroLibrary>();
  for (int i = 0; i < count; ++i) {
    Macro& m = library->Macros[i];
    std::u16string name = u"Macro " + std::u16string(1, static_cast<char16_t>(u'A' + i));
    for (size_t c = 0; c < name.size(); ++c) m.Name[c] = name[c];
    m.EventCount = events;
    for (int e = 0; e < events; ++e) m.Events[e] = {e % 2 ? kMsgKeyUp : kMsgKeyDown, 0x41 + e % 20};
    SaveMacroEvents(m);
  }
  library->MacroCount = count;
  SaveMacroNames(*library, count);
  if (!assignToButtons) return;
  ButtonAssignment assignments[kMaxAssignments]{};
  for (int b = 0; b < kMaxAssignments; ++b) assignments[b].FunctionCode = b;
  for (int b = 1; b < 7 && b <= count; ++b) {
    assignments[b].FunctionCode = kFunctionMacro;
    const Macro& m = library->Macros[b - 1];
    for (int c = 0; c < kMacroNameUnits && m.Name[c]; ++c) assignments[b].MacroName[c] = m.Name[c];
  }
  SaveButtonAssignments(assignments, 7);
}

TEST_F(MainWindowTest, OversizedConfigurationSendsNothingAndSaysHowMuchTooLarge) {
  PlugMouse();
  SaveLibrary(6, kMaxEvents, true);
  std::wstring before = folder_.Profile(L"Buttons", L"2");
  Start();
  Apply();
  EXPECT_TRUE(hid_.Reports.empty());
  EXPECT_EQ(folder_.Profile(L"Buttons", L"2"), before);
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  const std::u16string& text = prompts_.Messages[0].Text;
  EXPECT_EQ(text.find(u"%1"), std::u16string::npos);
  std::u16string model = Builtin(775);
  std::u16string head = model.substr(0, model.find(u"%1"));
  ASSERT_EQ(text.compare(0, head.size(), head), 0);
  EXPECT_TRUE(text[head.size()] >= u'1' && text[head.size()] <= u'9');
  EXPECT_EQ(pointer_.SpeedWrites.size(), 1u);
}

TEST_F(MainWindowTest, LanguageFileChangesButtonsAndNoticeButNotTheTabs) {
  folder_.Write(L"Corvane.ini", "[Application]\r\nLCID=1031\r\n");
  folder_.Write(L"Languages\\1031.ini",
                "[Strings]\r\n173=Weiter\r\n174=Abbrechen\r\n768=Keine Maus.\r\n176=Uebersicht\r\n"
                "180=Makros\r\n");
  Start();
  EXPECT_EQ(WindowText(Item(IDOK)), u"Weiter");
  EXPECT_EQ(WindowText(Item(IDCANCEL)), u"Abbrechen");
  EXPECT_EQ(WindowText(Item(ui::kIdNotice)), u"Keine Maus.");
  EXPECT_EQ(WindowText(Item(ui::kIdHelp)), Builtin(172));
  EXPECT_EQ(WindowText(Item(ui::kIdApply)), Builtin(175));
  ui::TabControl tab(Main(), ui::kIdTab);
  EXPECT_EQ(tab.ItemText(0), u"Overview");
  EXPECT_EQ(tab.ItemText(4), u"Macros");
}

TEST_F(MainWindowTest, SaveQuestionOnlyWhenLeavingTheMacrosTabWithAModifiedMacro) {
  SetDemo();
  SaveLibrary(2, 3, false);
  Start();
  ui::CMacrosDlg& macros = *dlg_->MacrosPage();
  ASSERT_EQ(macros.Library().MacroCount, 2);
  ASSERT_EQ(macros.SelectedMacro(), 0);
  macros.Library().Macros[1].Modified = 1;

  SelectTab(ui::kTabMacros);  // leaving the Overview asks nothing
  EXPECT_TRUE(prompts_.Messages.empty());

  // Yes saves the selected macro, which is not the modified one.
  std::filesystem::remove(folder_.Path() / L"Macros" / L"Macro A.ini");
  prompts_.Answers = {IDYES};
  SelectTab(ui::kTabPointer);
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(prompts_.Messages[0].Text, Builtin(773));
  EXPECT_EQ(prompts_.Messages[0].Flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / L"Macros" / L"Macro A.ini"));
  EXPECT_EQ(dlg_->SelectedTab(), ui::kTabPointer);  // the answer never stops the change

  // Cancel from another tab asks nothing; from the Macros tab it asks, and No saves nothing.
  SelectTab(ui::kTabMacros);
  EXPECT_EQ(prompts_.Messages.size(), 1u);
  std::filesystem::remove(folder_.Path() / L"Macros" / L"Macro A.ini");
  prompts_.Answers = {IDNO};
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(prompts_.Messages.size(), 2u);
  EXPECT_TRUE(dlg_->Ended());
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / L"Macros" / L"Macro A.ini"));
}

// The save question's message box lets other messages in: a device change meanwhile (whose
// handling sets a result of its own) must not refuse the tab change.
TEST_F(MainWindowTest, ADeviceChangeDuringTheSaveQuestionDoesNotRefuseTheTabChange) {
  SetDemo();
  SaveLibrary(2, 3, false);
  Start();
  SelectTab(ui::kTabMacros);
  dlg_->MacrosPage()->Library().Macros[1].Modified = 1;
  prompts_.WhileAsking = [&] { DeviceChange(DBT_DEVICEARRIVAL, kMousePath); };
  NMHDR n{Item(ui::kIdTab), static_cast<UINT_PTR>(ui::kIdTab), static_cast<UINT>(TCN_SELCHANGING)};
  EXPECT_EQ(SendMessageW(Main(), WM_NOTIFY, ui::kIdTab, reinterpret_cast<LPARAM>(&n)), 0);
  EXPECT_EQ(prompts_.Messages.size(), 1u);
}

TEST_F(MainWindowTest, ApplySavesTheSelectedMacro) {
  SetDemo();
  SaveLibrary(2, 3, false);
  Start();
  dlg_->MacrosPage()->Library().Macros[0].Modified = 1;
  std::filesystem::remove(folder_.Path() / L"Macros" / L"Macro A.ini");
  Apply();
  EXPECT_TRUE(std::filesystem::exists(folder_.Path() / L"Macros" / L"Macro A.ini"));
  EXPECT_EQ(dlg_->MacrosPage()->Library().Macros[0].Modified, 0);
  EXPECT_EQ(folder_.Profile(L"Macros", L"Numbers"), L"2");
}

// Deleting and renaming on the Macros page while buttons are linked: each button keeps its own
// macro for Apply, shows its name, and still has it after the Buttons page resolves by name.
TEST_F(MainWindowTest, ButtonsStayOnTheirMacrosWhenTheMacrosPageDeletesOrRenames) {
  SetDemo();
  SaveLibrary(3, 2, true);  // buttons 1, 2 and 3 play Macro A, B and C
  Start();
  ui::CMacrosDlg& macros = *dlg_->MacrosPage();
  const ButtonAssignment* buttons = dlg_->ButtonsPage()->Assignments();
  auto linked = [&](int button) -> std::u16string {
    const Macro* m = LinkedMacro(buttons[button], macros.Library());
    return m ? std::u16string(NameView(m->Name)) : u"(none)";
  };
  SelectTab(ui::kTabMacros);
  ASSERT_EQ(macros.SelectedMacro(), 0);
  SendMessageW(macros.Handle(), WM_COMMAND, MAKEWPARAM(ui::kIdMacroDelete, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(macros.Handle(), ui::kIdMacroDelete)));
  ASSERT_EQ(macros.Library().MacroCount, 2);
  EXPECT_EQ(linked(1), u"(none)");
  EXPECT_EQ(linked(2), u"Macro B");
  EXPECT_EQ(linked(3), u"Macro C");

  // Macro C, now the second row, renamed as the list's label editor ends.
  wchar_t typed[] = L"Macro Z";
  NMLVDISPINFOW info{};
  info.hdr.hwndFrom = GetDlgItem(macros.Handle(), ui::kIdMacroList);
  info.hdr.idFrom = ui::kIdMacroList;
  info.hdr.code = LVN_ENDLABELEDITW;
  info.item.iItem = 1;
  info.item.pszText = typed;
  SendMessageW(macros.Handle(), WM_NOTIFY, ui::kIdMacroList, reinterpret_cast<LPARAM>(&info));
  ASSERT_EQ(NameView(macros.Library().Macros[1].Name), u"Macro Z");
  EXPECT_EQ(linked(3), u"Macro Z");
  EXPECT_NE(ButtonMenuText(3).find(u"Macro Z"), std::u16string::npos)
      << "the row shows the new name";

  SelectTab(ui::kTabButtons);  // resolves the links by name
  EXPECT_EQ(linked(1), u"(none)");
  EXPECT_EQ(linked(2), u"Macro B");
  EXPECT_EQ(linked(3), u"Macro Z");
  SelectTab(ui::kTabOverview);
  EXPECT_NE(OverviewValue(3).find(u"Macro Z"), std::u16string::npos);
}

TEST_F(MainWindowTest, SystemSettingChangesReachThePages) {
  SetDemo();
  pointer_.SpeedValue = 10;
  pointer_.Lines = 3;
  Start();
  pointer_.SpeedValue = 4;
  pointer_.Lines = ui::kWheelPageScroll;
  SendMessageW(Main(), WM_SETTINGCHANGE, SPI_SETMOUSESPEED, 0);
  SendMessageW(Main(), WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES, 0);
  EXPECT_EQ(dlg_->PointerPage()->PointerSpeed(), 4);
  EXPECT_EQ(ui::Trackbar(dlg_->PointerPage()->Handle(), ui::kIdSpeed).Pos(), 4);
  EXPECT_EQ(ui::Trackbar(dlg_->ScrollingPage()->Handle(), ui::kIdVertical).Pos(), 10);
}

TEST_F(MainWindowTest, ButtonsGetTheHandCursorAndTheEndReleasesTheMouse) {
  PlugMouse();
  Start();
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(Item(IDOK), GCLP_HCURSOR)),
            LoadCursorW(nullptr, IDC_HAND));
  Apply();
  EXPECT_GT(hid_.OpenHandles(), 0u);  // discovery keeps the interfaces open
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(dlg_->Ended());
  dlg_->Destroy();
  EXPECT_EQ(hid_.OpenHandles(), 0u);
  EXPECT_EQ(hid_.LivePreparsedData(), 0u);
  EXPECT_EQ(dlg_->MacrosPage()->Handle(), nullptr);
  EXPECT_EQ(dlg_->OverviewPage()->Handle(), nullptr);
}

}  // namespace
}  // namespace corvane::uitest
