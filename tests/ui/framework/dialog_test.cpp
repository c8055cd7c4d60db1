// The dialog base and the scoped helpers, on a real dialog made from one of the program's
// templates.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/framework/dialog.h"
#include "ui/framework/scoped.h"
#include "ui/ids.h"

namespace corvane::ui {
namespace {

// Counts what reaches a derived handler; the counts outlive the dialog.
struct Seen {
  int Destroys = 0;
};

// A parent for the child dialog templates of the pages.
HWND g_parent = nullptr;

class Probe : public Dialog {
 public:
  explicit Probe(Seen& seen) : seen_(seen) {}
  bool Make() { return Create(kTemplateButtons, g_parent); }

 protected:
  bool OnMessage(UINT msg, WPARAM, LPARAM, INT_PTR&) override {
    if (msg == WM_DESTROY) ++seen_.Destroys;
    return false;
  }

 private:
  Seen& seen_;
};

// A dialog that ends its window in its own destructor, as the base asks of classes whose
// WM_DESTROY handling matters.
class TidyProbe : public Probe {
 public:
  using Probe::Probe;
  ~TidyProbe() override { Destroy(); }
};

class DialogTest : public ::testing::Test {
 protected:
  // One parent for the whole suite: a top-level window is the slow part of a test under Wine.
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
    g_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                               nullptr, nullptr, nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(g_parent); }
  void SetUp() override { ASSERT_NE(g_parent, nullptr); }
};

// The object pointer the dialog window held when WM_DESTROY reached it.
LONG_PTR g_objectAtDestroy = -1;
LRESULT CALLBACK WatchDestroy(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (m == WM_DESTROY) g_objectAtDestroy = GetWindowLongPtrW(w, DWLP_USER);
  return DefSubclassProc(w, m, wp, lp);
}

TEST_F(DialogTest, DestroyWhileWholeRunsTheDerivedHandler) {
  Seen seen;
  Probe probe(seen);
  ASSERT_TRUE(probe.Make());
  HWND window = probe.Handle();
  probe.Destroy();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(seen.Destroys, 1);
  EXPECT_EQ(probe.Handle(), nullptr);
}

TEST_F(DialogTest, DestructorDetachesTheWindowBeforeDestroyingIt) {
  Seen seen;
  auto probe = std::make_unique<Probe>(seen);
  ASSERT_TRUE(probe->Make());
  HWND window = probe->Handle();
  ASSERT_TRUE(SetWindowSubclass(window, WatchDestroy, 1, 0));
  g_objectAtDestroy = -1;
  probe.reset();
  // The window is gone, and by its last messages it no longer knew the object.
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(g_objectAtDestroy, 0);
  EXPECT_EQ(seen.Destroys, 0);
}

TEST_F(DialogTest, AClassThatDestroysInItsDestructorSeesItsWindowGo) {
  Seen seen;
  auto probe = std::make_unique<TidyProbe>(seen);
  ASSERT_TRUE(probe->Make());
  HWND window = probe->Handle();
  probe.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(seen.Destroys, 1);
}

TEST_F(DialogTest, ItemHelpersActOnTheChildWithThatId) {
  Seen seen;
  Probe probe(seen);
  ASSERT_TRUE(probe.Make());
  HWND interval = probe.Item(kIdInterval);
  ASSERT_NE(interval, nullptr);

  probe.EnableItem(kIdInterval, false);
  EXPECT_FALSE(IsWindowEnabled(interval));
  probe.EnableItem(kIdInterval, true);
  EXPECT_TRUE(IsWindowEnabled(interval));

  ShowWindow(probe.Handle(), SW_SHOW);  // a child is visible only when its parents are
  probe.ShowItem(kIdInterval, false);
  EXPECT_FALSE(IsWindowVisible(interval));
  probe.ShowItem(kIdInterval, true);
  EXPECT_TRUE(IsWindowVisible(interval));

  probe.CheckItem(kIdModeManual, true);
  EXPECT_EQ(SendMessageW(probe.Item(kIdModeManual), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(probe.IsItemChecked(kIdModeManual));
  probe.CheckItem(kIdModeManual, false);
  EXPECT_FALSE(probe.IsItemChecked(kIdModeManual));

  probe.SetItemText(kIdInterval, u"1234");
  wchar_t text[16] = {};
  GetWindowTextW(interval, text, 16);
  EXPECT_EQ(std::wstring(text), L"1234");
  EXPECT_EQ(probe.ItemText(kIdInterval), u"1234");
  probe.SetItemText(kIdInterval, u"");
  EXPECT_EQ(probe.ItemText(kIdInterval), u"");
  // A long text comes back whole.
  std::u16string lengthy(700, u'x');
  probe.SetItemText(kIdLabelMacro, lengthy);
  EXPECT_EQ(probe.ItemText(kIdLabelMacro), lengthy);
  // An id without a child is harmless.
  EXPECT_EQ(probe.ItemText(4242), u"");
  probe.EnableItem(4242, false);
}

TEST(ScopedTest, WaitCursorGivesBackTheCursorThatWasCurrent) {
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  SetCursor(hand);
  {
    WaitCursor busy;
    EXPECT_EQ(GetCursor(), wait);
    {
      WaitCursor nested;
      EXPECT_EQ(GetCursor(), wait);
    }
    EXPECT_EQ(GetCursor(), wait);  // the inner scope gives back the wait cursor it found
  }
  EXPECT_EQ(GetCursor(), hand);
}

}  // namespace
}  // namespace corvane::ui
