// CorvaneHook.dll fed with real input through SendInput: what each report carries, that the
// input still reaches its window, and how start and stop behave.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "macros/hook/corvane_hook.h"
#include "win32/input_support.h"

namespace {

using namespace corvane::testinput;

constexpr UINT kMouseMessage = WM_APP + 1;
constexpr UINT kKeyboardMessage = WM_APP + 2;
constexpr int kButtonId = 100;

struct Report {
  UINT Message;
  WPARAM Kind;
  KBDLLHOOKSTRUCT Key;
  MSLLHOOKSTRUCT Mouse;
};

// What a receiving window got: the records are copied while the report is handled, as the
// library's contract asks. Also counts the clicks of a child button.
struct Inbox {
  std::vector<Report> Reports;
  int Clicks = 0;
};

LRESULT CALLBACK InboxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* inbox = reinterpret_cast<Inbox*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (inbox && msg >= WM_APP && msg < 0xC000) {
    Report r{msg, wp, {}, {}};
    if (msg == kKeyboardMessage)
      r.Key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    else
      r.Mouse = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    inbox->Reports.push_back(r);
    return 0;
  }
  if (inbox && msg == WM_COMMAND && LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED) {
    ++inbox->Clicks;
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

void Send(std::vector<INPUT> inputs) {
  ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
            inputs.size());
}

std::wstring Text(HWND w) {
  wchar_t buf[64] = {};
  GetWindowTextW(w, buf, 64);
  return buf;
}

class HookTest : public ::testing::Test {
 protected:
  // A visible window with an edit and a button, where the input goes on to. It lives for the
  // whole suite: Wine takes seconds to end a foreground window.
  static void SetUpTestSuite() {
    window_ =
        MakeSuiteWindow(L"CorvaneHookInbox", InboxProc, L"hook test", 0, {100, 100, 400, 300});
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, window_,
                            nullptr, nullptr, nullptr);
    button_ = CreateWindowExW(
        0, L"BUTTON", L"Click", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 60, 120, 40, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), nullptr, nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(window_); }

  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&window_inbox_));
    SetWindowTextW(edit_, L"");
    SetForegroundWindow(window_);
    SetFocus(edit_);
    a_ = Receiver(&a_inbox_);
    b_ = Receiver(&b_inbox_);
    Drain();  // let the windows settle before input arrives
  }

  void TearDown() override {
    KeyboardHookStop();
    MouseHookStop();
    Drain();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(a_);
    DestroyWindow(b_);
  }

  static HWND Receiver(Inbox* inbox) {
    HWND w = CreateWindowExW(0, L"CorvaneHookInbox", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             nullptr, nullptr);
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(inbox));
    return w;
  }

  // Types c into the focused edit and waits until it arrives: all input before it is handled.
  bool TypeAndWait(wchar_t c) {
    std::wstring expected = Text(edit_) + static_cast<wchar_t>(towlower(c));
    WORD vk = static_cast<WORD>(c);
    Send({KeyInput(vk, false), KeyInput(vk, true)});
    return PumpUntil([&] { return Text(edit_) == expected; });
  }

  static HWND window_, edit_, button_;
  HWND a_ = nullptr, b_ = nullptr;
  Inbox window_inbox_, a_inbox_, b_inbox_;
};

HWND HookTest::window_ = nullptr;
HWND HookTest::edit_ = nullptr;
HWND HookTest::button_ = nullptr;

TEST_F(HookTest, KeysAreReportedInOrderWithTheirRecordAndStillTyped) {
  ASSERT_EQ(KeyboardHookStart(a_, kKeyboardMessage), 1);
  Send({KeyInput('A', false, false, 1000), KeyInput('A', true, false, 1010),
        KeyInput(VK_RCONTROL, false, true, 1020), KeyInput(VK_RCONTROL, true, true, 1030),
        KeyInput(VK_HOME, false, true, 1040), KeyInput(VK_HOME, true, true, 1050)});
  ASSERT_TRUE(PumpUntil([&] { return a_inbox_.Reports.size() >= 6; }));
  Drain();  // each event once: nothing more comes

  struct Expected {
    WPARAM Kind;
    DWORD Vk;
    DWORD Extended;
    DWORD Time;
  };
  const Expected expected[] = {
      {WM_KEYDOWN, 'A', 0, 1000},         {WM_KEYUP, 'A', 0, 1010},
      {WM_KEYDOWN, VK_RCONTROL, 1, 1020}, {WM_KEYUP, VK_RCONTROL, 1, 1030},
      {WM_KEYDOWN, VK_HOME, 1, 1040},     {WM_KEYUP, VK_HOME, 1, 1050},
  };
  ASSERT_EQ(a_inbox_.Reports.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    const Report& r = a_inbox_.Reports[i];
    EXPECT_EQ(r.Message, kKeyboardMessage);
    EXPECT_EQ(r.Kind, expected[i].Kind);
    EXPECT_EQ(r.Key.vkCode, expected[i].Vk);
    EXPECT_EQ(r.Key.flags & LLKHF_EXTENDED, expected[i].Extended);
    EXPECT_EQ(r.Key.time, expected[i].Time);
  }
  // Not suppressed: the key reached the focused edit.
  PumpUntil([&] { return Text(edit_) == L"a"; });
  EXPECT_EQ(Text(edit_), L"a");
}

TEST_F(HookTest, AltHeldGivesSystemKeyMessages) {
  ASSERT_EQ(KeyboardHookStart(a_, kKeyboardMessage), 1);
  Send({KeyInput(VK_LMENU, false), KeyInput('X', false), KeyInput('X', true),
        KeyInput(VK_LMENU, true)});
  ASSERT_TRUE(PumpUntil([&] { return a_inbox_.Reports.size() >= 4; }));
  Drain();
  const WPARAM kinds[] = {WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_KEYUP};
  ASSERT_EQ(a_inbox_.Reports.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(a_inbox_.Reports[i].Kind, kinds[i]) << i;
  EXPECT_EQ(a_inbox_.Reports[0].Key.vkCode, static_cast<DWORD>(VK_LMENU));
}

TEST_F(HookTest, MouseButtonsWheelAndSideButtonsAreReportedAndStillClick) {
  RECT r;
  GetWindowRect(button_, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Drain();
  ASSERT_EQ(MouseHookStart(a_, kMouseMessage), 1);
  Send({MouseInput(MOUSEEVENTF_LEFTDOWN, 0, 2000), MouseInput(MOUSEEVENTF_LEFTUP, 0, 2001),
        MouseInput(MOUSEEVENTF_RIGHTDOWN, 0, 2002), MouseInput(MOUSEEVENTF_RIGHTUP, 0, 2003),
        MouseInput(MOUSEEVENTF_MIDDLEDOWN, 0, 2004), MouseInput(MOUSEEVENTF_MIDDLEUP, 0, 2005),
        MouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-120), 2006),
        MouseInput(MOUSEEVENTF_WHEEL, 240, 2007), MouseInput(MOUSEEVENTF_XDOWN, XBUTTON1, 2008),
        MouseInput(MOUSEEVENTF_XUP, XBUTTON1, 2009), MouseInput(MOUSEEVENTF_XDOWN, XBUTTON2, 2010),
        MouseInput(MOUSEEVENTF_XUP, XBUTTON2, 2011)});
  ASSERT_TRUE(PumpUntil([&] { return a_inbox_.Reports.size() >= 12; }));
  Drain();
  // Wine adds a pointer move of its own after the clicks; moves are not what this test sends.
  a_inbox_.Reports.erase(std::remove_if(a_inbox_.Reports.begin(), a_inbox_.Reports.end(),
                                        [](const Report& r) { return r.Kind == WM_MOUSEMOVE; }),
                         a_inbox_.Reports.end());

  struct Expected {
    WPARAM Kind;
    short High;
  };
  const Expected expected[] = {
      {WM_LBUTTONDOWN, 0}, {WM_LBUTTONUP, 0}, {WM_RBUTTONDOWN, 0},   {WM_RBUTTONUP, 0},
      {WM_MBUTTONDOWN, 0}, {WM_MBUTTONUP, 0}, {WM_MOUSEWHEEL, -120}, {WM_MOUSEWHEEL, 240},
      {WM_XBUTTONDOWN, 1}, {WM_XBUTTONUP, 1}, {WM_XBUTTONDOWN, 2},   {WM_XBUTTONUP, 2},
  };
  ASSERT_EQ(a_inbox_.Reports.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    const Report& rep = a_inbox_.Reports[i];
    EXPECT_EQ(rep.Message, kMouseMessage);
    EXPECT_EQ(rep.Kind, expected[i].Kind);
    EXPECT_EQ(static_cast<short>(HIWORD(rep.Mouse.mouseData)), expected[i].High);
    EXPECT_EQ(rep.Mouse.time, 2000 + i);
  }
  // Not suppressed: the left click reached the button.
  EXPECT_TRUE(PumpUntil([&] { return window_inbox_.Clicks == 1; }));
}

TEST_F(HookTest, StopEndsTheReportsAndASecondStopDoesNothing) {
  ASSERT_EQ(KeyboardHookStart(a_, kKeyboardMessage), 1);
  ASSERT_TRUE(TypeAndWait(L'A'));
  ASSERT_EQ(a_inbox_.Reports.size(), 2u);
  EXPECT_EQ(KeyboardHookStop(), 1);
  ASSERT_TRUE(TypeAndWait(L'B'));
  EXPECT_EQ(a_inbox_.Reports.size(), 2u);
  EXPECT_EQ(KeyboardHookStop(), 0);

  ASSERT_EQ(MouseHookStart(a_, kMouseMessage), 1);
  EXPECT_EQ(MouseHookStop(), 1);
  Send({MouseInput(MOUSEEVENTF_WHEEL, 120)});
  ASSERT_TRUE(TypeAndWait(L'C'));  // the wheel before it has been handled too
  EXPECT_EQ(a_inbox_.Reports.size(), 2u);
}

TEST_F(HookTest, StopWithoutStartIsHarmless) {
  EXPECT_EQ(KeyboardHookStop(), 0);
  EXPECT_EQ(MouseHookStop(), 0);
  ASSERT_EQ(KeyboardHookStart(a_, kKeyboardMessage), 1);
  ASSERT_TRUE(TypeAndWait(L'A'));
  EXPECT_EQ(a_inbox_.Reports.size(), 2u);
}

TEST_F(HookTest, ASecondStartReplacesTheTarget) {
  ASSERT_EQ(KeyboardHookStart(a_, kKeyboardMessage), 1);
  ASSERT_EQ(KeyboardHookStart(b_, kKeyboardMessage + 10), 1);
  ASSERT_TRUE(TypeAndWait(L'A'));
  EXPECT_TRUE(a_inbox_.Reports.empty());
  ASSERT_EQ(b_inbox_.Reports.size(), 2u);  // once each, not twice
  EXPECT_EQ(b_inbox_.Reports[0].Message, kKeyboardMessage + 10);
  EXPECT_EQ(KeyboardHookStop(), 1);
  EXPECT_EQ(KeyboardHookStop(), 0);
}

TEST_F(HookTest, AStartWithoutAWindowChangesNothing) {
  EXPECT_EQ(KeyboardHookStart(nullptr, kKeyboardMessage), 0);
  EXPECT_EQ(KeyboardHookStop(), 0);  // nothing was installed
  ASSERT_EQ(KeyboardHookStart(a_, kKeyboardMessage), 1);
  EXPECT_EQ(KeyboardHookStart(reinterpret_cast<HWND>(0x1234), kKeyboardMessage + 10), 0);
  ASSERT_TRUE(TypeAndWait(L'A'));
  ASSERT_EQ(a_inbox_.Reports.size(), 2u);  // the running hook kept its target
  EXPECT_EQ(a_inbox_.Reports[0].Message, kKeyboardMessage);
}

TEST_F(HookTest, KeyboardAndMouseHooksAreIndependent) {
  ASSERT_EQ(MouseHookStart(b_, kMouseMessage), 1);
  ASSERT_EQ(KeyboardHookStart(a_, kKeyboardMessage), 1);
  EXPECT_EQ(MouseHookStop(), 1);
  ASSERT_TRUE(TypeAndWait(L'A'));
  EXPECT_EQ(a_inbox_.Reports.size(), 2u);
  EXPECT_TRUE(b_inbox_.Reports.empty());
}

}  // namespace
