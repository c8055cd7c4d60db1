// The window-subclass base on real edit controls: what reaches the original procedure, what a
// handler keeps, and that the subclass lets go of the window whichever of the two ends first.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/framework/subclass.h"
#include "ui/ui_test_support.h"

namespace corvane::uitest {
namespace {

// Records every message and hands the interesting ones to a test's handler.
class Probe : public ui::Subclass {
 public:
  std::vector<UINT> Seen;
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> Handler;
  using Subclass::CallOriginal;

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    Seen.push_back(msg);
    return Handler ? Handler(msg, wp, lp, result) : false;
  }
};

class SubclassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    edit_ = NewEdit(1);
  }
  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
  }
  HWND NewEdit(int id) {
    return CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  static void Type(HWND edit, wchar_t c) { SendMessageW(edit, WM_CHAR, c, 1); }
  static bool Saw(const Probe& p, UINT msg) {
    for (UINT m : p.Seen)
      if (m == msg) return true;
    return false;
  }

  HWND parent_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(SubclassTest, UnhandledMessagesReachTheOriginalProcedure) {
  Probe probe;
  ASSERT_TRUE(probe.Attach(parent_, 1));
  EXPECT_EQ(probe.Handle(), edit_);
  SetWindowTextW(edit_, L"abc");
  Type(edit_, L'x');
  EXPECT_TRUE(Saw(probe, WM_SETTEXT));
  EXPECT_TRUE(Saw(probe, WM_CHAR));
  EXPECT_EQ(WindowText(edit_), u"xabc");  // the edit's caret was at the start
}

TEST_F(SubclassTest, AHandledMessageStopsWithTheHandlersResult) {
  Probe probe;
  probe.Handler = [](UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_CHAR) return false;
    r = 42;
    return true;
  };
  ASSERT_TRUE(probe.Attach(edit_));
  EXPECT_EQ(SendMessageW(edit_, WM_CHAR, L'x', 1), 42);
  EXPECT_EQ(WindowText(edit_), u"");
}

TEST_F(SubclassTest, AHandlerCanAddToTheOriginalAnswer) {
  LRESULT plain = SendMessageW(edit_, WM_GETDLGCODE, 0, 0);
  Probe probe;
  probe.Handler = [&probe](UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
    if (msg != WM_GETDLGCODE) return false;
    r = probe.CallOriginal(msg, wp, lp) | DLGC_WANTALLKEYS;
    return true;
  };
  ASSERT_TRUE(probe.Attach(edit_));
  EXPECT_EQ(SendMessageW(edit_, WM_GETDLGCODE, 0, 0), plain | DLGC_WANTALLKEYS);
}

TEST_F(SubclassTest, AThrowingHandlerLeavesTheMessageToTheOriginalProcedure) {
  Probe probe;
  probe.Handler = [](UINT msg, WPARAM, LPARAM, LRESULT&) -> bool {
    if (msg == WM_SETTEXT) throw std::runtime_error("handler failed");
    return false;
  };
  ASSERT_TRUE(probe.Attach(edit_));
  EXPECT_TRUE(SetWindowTextW(edit_, L"kept"));
  EXPECT_EQ(WindowText(edit_), u"kept");
}

TEST_F(SubclassTest, TheWindowsEndReleasesTheObject) {
  Probe probe;
  ASSERT_TRUE(probe.Attach(edit_));
  DestroyWindow(edit_);
  EXPECT_TRUE(Saw(probe, WM_DESTROY));
  EXPECT_EQ(probe.Seen.back(), static_cast<UINT>(WM_NCDESTROY));
  EXPECT_FALSE(probe.IsAttached());
  EXPECT_EQ(probe.Handle(), nullptr);
  probe.Detach();  // nothing left to remove
}

TEST_F(SubclassTest, TheObjectsEndGivesTheWindowItsOriginalProcedure) {
  {
    Probe probe;
    probe.Handler = [](UINT msg, WPARAM, LPARAM, LRESULT&) { return msg == WM_CHAR; };
    ASSERT_TRUE(probe.Attach(edit_));
    Type(edit_, L'a');
  }
  Type(edit_, L'b');
  EXPECT_EQ(WindowText(edit_), u"b");
}

TEST_F(SubclassTest, AttachingElsewhereLeavesTheFirstWindow) {
  HWND second = NewEdit(2);
  Probe probe;
  probe.Handler = [](UINT msg, WPARAM, LPARAM, LRESULT&) { return msg == WM_CHAR; };
  ASSERT_TRUE(probe.Attach(edit_));
  ASSERT_TRUE(probe.Attach(second));
  Type(edit_, L'a');
  Type(second, L'b');
  EXPECT_EQ(WindowText(edit_), u"a");
  EXPECT_EQ(WindowText(second), u"");
  EXPECT_FALSE(probe.Attach(nullptr));
  EXPECT_FALSE(probe.IsAttached());
  Type(second, L'c');
  EXPECT_EQ(WindowText(second), u"c");
}

TEST_F(SubclassTest, TwoObjectsOnOneWindowRunLastAttachedFirst) {
  Probe inner, outer;
  outer.Handler = [](UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_CHAR) return false;
    r = 7;
    return true;
  };
  ASSERT_TRUE(inner.Attach(edit_));
  ASSERT_TRUE(outer.Attach(edit_));
  EXPECT_EQ(SendMessageW(edit_, WM_CHAR, L'x', 1), 7);
  EXPECT_FALSE(Saw(inner, WM_CHAR));
  outer.Detach();
  Type(edit_, L'y');
  EXPECT_TRUE(Saw(inner, WM_CHAR));
  EXPECT_EQ(WindowText(edit_), u"y");
}

}  // namespace
}  // namespace corvane::uitest
