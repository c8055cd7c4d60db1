// The main window driven by messages, with fake HID, sleeper, system pointer and prompts.
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_hid_platform.h"
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
    NMHDR n{Item(ui::kIdTab), static_cast<UINT_PTR>(ui::kIdTab), static_cast<UINT>(TCN_SELCHANGING)};
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

  TempAppFolder folder_;
  fakes::FakeHidPlatform hid_;
  fakes::RecordingSleeper sleeper_;
  FakePointer pointer_;
  FakePrompts prompts_;
  std::unique_ptr<CCorvaneDlg> dlg_;
};

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
      EXPECT_EQ(IsWindowVisible(pages[k]->Handle()) != FALSE, k == i) << "tab " << i << " page " << k;
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


}  // namespace
}  // namespace corvane::uitest
