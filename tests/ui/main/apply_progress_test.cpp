// Apply's progress bar and the window during an upload: the bar after each frame, seen through
// the sleeper; painting goes on; clicks and keys that arrive are not acted upon; device
// notifications wait until Apply is over.
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_hid_platform.h"
#include "ui/buttons_page.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
#include "ui/ui_test_support.h"

namespace corvane::uitest {
namespace {

using ui::CCorvaneDlg;

constexpr char16_t kMousePath[] = u"\\\\?\\hid#vid_3a7c&pid_0007&mi_01#7&1&0000#{4d1e55b2}";

// Calls a test's hook at every pause, after recording it.
struct HookedSleeper : fakes::RecordingSleeper {
  std::function<void()> Hook;
  void Sleep(uint32_t ms) override {
    RecordingSleeper::Sleep(ms);
    if (Hook) Hook();
  }
};

class ApplyProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
    hid_.Add(kMousePath, kSupportedVendorId, kSupportedProductId, 8);
    // The worked example's three buttons: the start report and five frames.
    folder_.Write(L"Corvane.ini", "[Hardware]\r\nButtons=3\r\n");
    dlg_ = std::make_unique<CCorvaneDlg>(ui::Seams{hid_, sleeper_, pointer_, prompts_});
    ASSERT_TRUE(dlg_->CreateMain());
    ShowWindow(Main(), SW_SHOW);
    UpdateWindow(Main());
    dlg_->PumpPending();
  }
  void TearDown() override { dlg_.reset(); }

  HWND Main() const { return dlg_->Handle(); }
  HWND Item(int id) const { return GetDlgItem(Main(), id); }
  HWND Bar() const { return Item(ui::kIdUploadProgress); }
  void Apply() { SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(ui::kIdApply, BN_CLICKED), 0); }

  TempAppFolder folder_;
  fakes::FakeHidPlatform hid_;
  HookedSleeper sleeper_;
  FakePointer pointer_;
  FakePrompts prompts_;
  std::unique_ptr<CCorvaneDlg> dlg_;
};

// The bar after each report, and painting between the pauses: what is invalidated during one
// pause has been painted by the next.
TEST_F(ApplyProgressTest, TheBarFollowsEachReportAndTheWindowRepaints) {
  EXPECT_FALSE(IsWindowVisible(Bar()));
  struct Seen {
    bool visible;
    int position, high;
    bool leftToPaint;
    bool operator==(const Seen& o) const {
      return visible == o.visible && position == o.position && high == o.high &&
             leftToPaint == o.leftToPaint;
    }
  };
  std::vector<Seen> seen;
  sleeper_.Hook = [&] {
    RECT update;
    seen.push_back({IsWindowVisible(Bar()) != FALSE,
                    static_cast<int>(SendMessageW(Bar(), PBM_GETPOS, 0, 0)),
                    static_cast<int>(SendMessageW(Bar(), PBM_GETRANGE, FALSE, 0)),
                    GetUpdateRect(Main(), &update, FALSE) != FALSE});
    InvalidateRect(Main(), nullptr, TRUE);
  };
  Apply();
  ASSERT_EQ(6u, hid_.Reports.size());
  // A pause after the start report (1000 ms) and after each of the five frames.
  const std::vector<Seen> expected = {{true, 1, 6, false}, {true, 2, 6, false},
                                      {true, 3, 6, false}, {true, 4, 6, false},
                                      {true, 5, 6, false}, {true, 6, 6, false}};
  EXPECT_TRUE(seen == expected);
  EXPECT_EQ((std::vector<uint32_t>{1000, 32, 32, 32, 32, 32}), sleeper_.Pauses);
  EXPECT_FALSE(IsWindowVisible(Bar()));
}

// Clicks on Apply, OK and Cancel and keys that arrive during the upload are thrown away: no
// second upload, and the window stays open.
TEST_F(ApplyProgressTest, ClicksAndKeysDuringTheUploadAreNotActedUpon) {
  int pauses = 0;
  sleeper_.Hook = [&] {
    if (++pauses != 2) return;
    for (int id : {int{ui::kIdApply}, IDCANCEL, IDOK}) {
      PostMessageW(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      PostMessageW(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_SPACE}}) {
      PostMessageW(Item(ui::kIdApply), WM_KEYDOWN, key, 0x001C0001);
      PostMessageW(Item(ui::kIdApply), WM_KEYUP, key, 0xC01C0001);
    }
  };
  Apply();
  EXPECT_EQ(6, pauses);
  EXPECT_TRUE(dlg_->PumpPending());  // anything still queued would act now
  EXPECT_FALSE(dlg_->Ended());
  EXPECT_EQ(6u, hid_.Reports.size());
  EXPECT_TRUE(IsWindow(Main()));

  // The same click after the upload is acted upon: the test's clicks do reach the button.
  PostMessageW(Item(ui::kIdApply), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(Item(ui::kIdApply), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  dlg_->PumpPending();
  EXPECT_EQ(12u, hid_.Reports.size());
}

// A removal the system sends while the upload runs is handled once Apply is over, so the upload
// keeps its handle to the end.
TEST_F(ApplyProgressTest, ADeviceChangeDuringTheUploadWaitsForApplyToEnd) {
  std::vector<bool> present;
  int pauses = 0;
  sleeper_.Hook = [&] {
    if (++pauses == 2) {
      hid_.Remove(kMousePath);
      const std::u16string name = kMousePath;
      std::vector<BYTE> buffer(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + name.size() * 2 + 2, 0);
      auto* b = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
      b->dbcc_size = static_cast<DWORD>(buffer.size());
      b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
      for (size_t i = 0; i < name.size(); ++i) b->dbcc_name[i] = static_cast<wchar_t>(name[i]);
      SendMessageW(Main(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(b));
    }
    present.push_back(dlg_->Link().Present());
  };
  Apply();
  EXPECT_EQ(std::vector<bool>(6, true), present);
  EXPECT_EQ(0, hid_.Misuses);  // no report went through a closed handle
  EXPECT_FALSE(dlg_->Link().Present());
  EXPECT_FALSE(IsWindowEnabled(Item(ui::kIdApply)));
}

// The mouse moved over the window's buttons during the upload, each with a hand cursor of its
// own (the push buttons' class, the Buttons page's menu buttons): the wait cursor stays.
TEST_F(ApplyProgressTest, TheWaitCursorStaysWhileTheMouseMovesOverTheButtons) {
  ShowTab(*dlg_, ui::kTabButtons);
  HWND page = dlg_->ButtonsPage()->Handle();
  const HWND over[] = {Item(IDOK), GetDlgItem(page, ui::kButtonRowIds[2].Menu),
                       GetDlgItem(page, ui::kIdRestoreDefaults)};
  // Real input: a move onto the middle of the control.
  auto moveOnto = [](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    SetCursorPos((r.left + r.right) / 2 - 1, (r.top + r.bottom) / 2);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    move.mi.dx = 1;
    SendInput(1, &move, sizeof(move));
  };
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  std::vector<bool> waiting;
  size_t next = 0;
  sleeper_.Hook = [&] {
    // What the move before this pause left, then the next move; the upload's own look at the
    // queue handles it before the next pause.
    if (next > waiting.size()) waiting.push_back(GetCursor() == wait);
    if (next < std::size(over)) moveOnto(over[next++]);
  };
  Apply();
  EXPECT_EQ(std::vector<bool>(std::size(over), true), waiting);
  // Afterwards the menu button has its hand again.
  moveOnto(over[1]);
  Drain(*dlg_);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace
}  // namespace corvane::uitest
