// The hot key field driven by real key presses (SendInput reaches the low-level hook under
// Wine), in a window that treats it as the Buttons page does: dialog navigation through
// IsDialogMessage, and the combination set again whenever the text changes.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "macros/hook/corvane_hook.h"
#include "ui/framework/subclass.h"
#include "ui/hot_key.h"
#include "ui/ids.h"
#include "ui/ui_test_support.h"
#include "win32/input_support.h"

namespace corvane::uitest {
namespace {

using testinput::KeyInput;
using ui::CHotKey;

constexpr int kField1 = IDC_HOTKEY;
constexpr int kField2 = 2001;
constexpr int kPlain = 2002;

// Counts the key events the system has passed through the low-level hooks, so a test knows when
// the field has seen all of its input.
int g_keyEvents = 0;
LRESULT CALLBACK CountKeys(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) ++g_keyEvents;
  return CallNextHookEx(nullptr, code, wp, lp);
}

// The owner of the fields: re-sets a field's combination on every change of its text.
struct Owner {
  CHotKey* Fields[2] = {};
  int Changes = 0;
};

LRESULT CALLBACK OwnerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (owner && msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
    int id = LOWORD(wp);
    CHotKey* f = id == kField1 ? owner->Fields[0] : id == kField2 ? owner->Fields[1] : nullptr;
    if (f) {
      if (++owner->Changes > 1000) return 0;  // a runaway loop: the test fails on the count
      f->SetCombination(f->m_wKey, f->m_wModifiers);
    }
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

std::u16string Name(uint16_t vk, bool extended = false) {
  return CHotKey::GetSystemKeyName(vk, extended);
}

class HotKeyTest : public ::testing::Test {
 protected:
  // The owner lives for the whole suite (Wine takes seconds to end a foreground window); each
  // test gets fresh edit controls.
  static void SetUpTestSuite() {
    owner_window_ = testinput::MakeSuiteWindow(L"CorvaneHotKeyOwner", OwnerProc, L"hot key",
                                               WS_EX_CONTROLPARENT, {50, 50, 450, 250},
                                               GetSysColorBrush(COLOR_BTNFACE));
  }
  static void TearDownTestSuite() { DestroyWindow(owner_window_); }

  void SetUp() override {
    ASSERT_NE(owner_window_, nullptr);
    counter_ = SetWindowsHookExW(WH_KEYBOARD_LL, CountKeys, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(counter_, nullptr);
    SetWindowLongPtrW(owner_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&owner_));
    MakeEdit(kField1, 10);
    MakeEdit(kField2, 50);
    MakeEdit(kPlain, 90);
    field1_ = std::make_unique<CHotKey>();
    field2_ = std::make_unique<CHotKey>();
    ASSERT_TRUE(field1_->Attach(owner_window_, kField1));
    ASSERT_TRUE(field2_->Attach(owner_window_, kField2));
    owner_.Fields[0] = field1_.get();
    owner_.Fields[1] = field2_.get();
    SetForegroundWindow(owner_window_);
    Focus(kPlain);
  }

  void TearDown() override {
    // The modifier flags belong to the process: leave them clear for the next test.
    if (field1_ && field1_->IsAttached()) {
      Focus(kField1);
      Keys({Up(VK_LSHIFT), Up(VK_RSHIFT), Up(VK_LCONTROL), Up(VK_RCONTROL, true), Up(VK_LMENU),
            Up(VK_RMENU, true)});
    }
    SetWindowLongPtrW(owner_window_, GWLP_USERDATA, 0);
    for (int id : {kField1, kField2, kPlain}) DestroyWindow(Item(id));
    field1_.reset();
    field2_.reset();
    UnhookWindowsHookEx(counter_);
    KeyboardHookStop();
    Drain();
  }

  void MakeEdit(int id, int y) {
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10, y, 360, 24,
                    owner_window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                    nullptr);
  }
  HWND Item(int id) const { return GetDlgItem(owner_window_, id); }
  void Focus(int id) {
    SetFocus(Item(id));
    Drain();
  }

  static INPUT Down(WORD vk, bool extended = false) { return KeyInput(vk, false, extended); }
  static INPUT Up(WORD vk, bool extended = false) { return KeyInput(vk, true, extended); }

  // Sends the keys and handles messages, as the program's loop does, until every one of them has
  // passed the hooks and what they queued has been handled.
  void Keys(std::vector<INPUT> inputs) {
    int target = g_keyEvents + static_cast<int>(inputs.size());
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
              inputs.size());
    ASSERT_TRUE(PumpUntil([&] { return g_keyEvents >= target; }));
    Drain();
  }
  void Tap(WORD vk, bool extended = false) { Keys({Down(vk, extended), Up(vk, extended)}); }

  bool PumpUntil(const std::function<bool()>& done) {
    return testinput::PumpUntil(done, owner_window_);
  }
  void Drain() { testinput::Drain(owner_window_); }

  void ExpectCombination(const CHotKey& f, uint16_t key, uint16_t modifiers,
                         const std::u16string& text) {
    EXPECT_EQ(f.m_wKey, key);
    EXPECT_EQ(f.m_wModifiers, modifiers);
    EXPECT_EQ(WindowText(f.Handle()), text);
  }

  static HWND owner_window_;
  HHOOK counter_ = nullptr;
  Owner owner_;
  std::unique_ptr<CHotKey> field1_, field2_;
};

HWND HotKeyTest::owner_window_ = nullptr;

TEST_F(HotKeyTest, SystemKeyNamesComeFromTheScanCode) {
  EXPECT_EQ(Name('A'), u"A");
  EXPECT_FALSE(Name(VK_LCONTROL).empty());
  // The arrow block's Home is extended; without the flag its scan code names the number pad key.
  EXPECT_FALSE(Name(VK_HOME, true).empty());
  EXPECT_NE(Name(VK_HOME, true), Name(VK_HOME, false));
}

TEST_F(HotKeyTest, AFieldNeverSetIsEmpty) {
  ExpectCombination(*field1_, 0, 0, u"");
  Focus(kField1);
  ExpectCombination(*field1_, 0, 0, u"");
}

TEST_F(HotKeyTest, LeftCtrlAloneThenAWithCtrlHeld) {
  Focus(kField1);
  Keys({Down(VK_LCONTROL)});
  ExpectCombination(*field1_, 162, 0, Name(162));
  Keys({Down('A')});
  ExpectCombination(*field1_, 65, 0x02, Name(17) + u" + " + Name('A'));
  // Releasing every key leaves the last combination in place.
  Keys({Up('A'), Up(VK_LCONTROL)});
  ExpectCombination(*field1_, 65, 0x02, Name(17) + u" + " + Name('A'));
}

TEST_F(HotKeyTest, RightShiftWithLeftShiftHeld) {
  Focus(kField1);
  Keys({Down(VK_LSHIFT), Down(VK_RSHIFT)});
  ExpectCombination(*field1_, 161, 0x01, Name(16) + u" + " + Name(161));
}

TEST_F(HotKeyTest, RightAltWithTheArrowBlocksHome) {
  Focus(kField1);
  Keys({Down(VK_RMENU, true)});
  ExpectCombination(*field1_, 165, 0x08, Name(165, true));
  Keys({Down(VK_HOME, true)});
  ExpectCombination(*field1_, 36, 0x48, Name(165, true) + u" + " + Name(36, true));
}

TEST_F(HotKeyTest, PauseAndPrintScreenHaveTheirOwnNames) {
  Focus(kField1);
  Keys({Down(VK_LCONTROL), Down(VK_LSHIFT), Down(VK_PAUSE)});
  ExpectCombination(*field1_, 19, 0x03, Name(16) + u" + " + Name(17) + u" + Pause");
  Keys({Up(VK_PAUSE), Up(VK_LSHIFT), Up(VK_LCONTROL)});
  Tap(VK_SNAPSHOT, true);
  ExpectCombination(*field1_, 44, 0x08, u"Print Screen");
  field1_->SetCombination(42, 0);
  ExpectCombination(*field1_, 42, 0, u"Print Screen");
}

TEST_F(HotKeyTest, MediaVolumeAndBrowserKeysLeaveTheFieldAlone) {
  Focus(kField1);
  Tap('B');
  for (WORD vk :
       {VK_BROWSER_BACK, VK_VOLUME_MUTE, VK_VOLUME_UP, VK_MEDIA_PLAY_PAUSE, VK_LAUNCH_APP2}) {
    Tap(vk, true);
    ExpectCombination(*field1_, 'B', 0, Name('B'));
  }
}

TEST_F(HotKeyTest, TabEnterAndEscapeAreCapturedNotNavigation) {
  EXPECT_TRUE(SendMessageW(Item(kField1), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
  Focus(kField1);
  for (WORD vk : {VK_TAB, VK_RETURN, VK_ESCAPE}) {
    Tap(vk);
    EXPECT_EQ(field1_->m_wKey, vk);
    EXPECT_EQ(GetFocus(), Item(kField1));
  }
  // The same Tab in a plain edit moves on: the owner does navigate.
  Focus(kPlain);
  Tap(VK_TAB);
  EXPECT_NE(GetFocus(), Item(kPlain));
}

// Sits behind the field and records what the field lets through to the edit control.
class Behind : public ui::Subclass {
 public:
  std::vector<UINT> Seen;

 protected:
  bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) override {
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP || msg == WM_CHAR) {
      Seen.push_back(msg);
    }
    return false;
  }
};

TEST_F(HotKeyTest, KeyDownsNeverReachTheEdit) {
  HWND edit = Item(kField1);
  field1_->Detach();
  Behind behind;
  ASSERT_TRUE(behind.Attach(edit));
  ASSERT_TRUE(field1_->Attach(edit));  // attached last, so it sees each message first
  field1_->SetCombination('A', 0);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0), 0);
  EXPECT_EQ(SendMessageW(edit, WM_SYSKEYDOWN, VK_DELETE, 1 << 29), 0);
  SendMessageW(edit, WM_KEYUP, VK_DELETE, 0);
  EXPECT_EQ(behind.Seen, std::vector<UINT>{WM_KEYUP});
  EXPECT_EQ(WindowText(edit), Name('A'));
}

TEST_F(HotKeyTest, TypedCharactersArePutRightByTheOwner) {
  Focus(kField1);
  Tap('Q');  // its WM_CHAR reaches the edit and changes the text; the owner sets it back
  ExpectCombination(*field1_, 'Q', 0, Name('Q'));
  EXPECT_LT(owner_.Changes, 10);  // SetCombination with an equal text does not notify again
}

TEST_F(HotKeyTest, TheHookIsHeldExactlyWhileTheFieldHasTheFocus) {
  Tap('C');  // the plain edit has the focus
  ExpectCombination(*field1_, 0, 0, u"");
  Focus(kField1);
  Tap('C');
  ExpectCombination(*field1_, 'C', 0, Name('C'));
  Focus(kField2);  // the hook moves to the other field
  Tap('D');
  EXPECT_EQ(field1_->m_wKey, 'C');
  EXPECT_EQ(field2_->m_wKey, 'D');
  Focus(kPlain);
  EXPECT_EQ(KeyboardHookStop(), 0);  // the field let go of it
  Tap('E');
  EXPECT_EQ(field2_->m_wKey, 'D');
}

TEST_F(HotKeyTest, AFieldDestroyedWithTheFocusLetsGoOfTheHook) {
  Focus(kField2);
  DestroyWindow(Item(kField2));
  Drain();
  EXPECT_EQ(KeyboardHookStop(), 0);
  EXPECT_FALSE(field2_->IsAttached());

  Focus(kField1);
  owner_.Fields[0] = nullptr;
  field1_.reset();  // the object goes first; its window stays
  EXPECT_EQ(KeyboardHookStop(), 0);
  Tap('F');
  EXPECT_EQ(GetFocus(), Item(kField1));
}

TEST_F(HotKeyTest, ModifierFlagsBelongToTheProcessNotToAField) {
  Focus(kField1);
  Keys({Down(VK_LSHIFT)});
  Focus(kField2);
  Tap('A');
  EXPECT_EQ(field2_->m_wModifiers, 0x01);  // pressed while the other field had the hook
  // Released while no field holds the hook: still counted.
  Focus(kPlain);
  Keys({Up(VK_LSHIFT)});
  Focus(kField1);
  Tap('A');
  EXPECT_EQ(field1_->m_wModifiers, 0x01);
  // Its next press and release, seen by a field, put it right.
  Tap(VK_LSHIFT);
  Tap('A');
  EXPECT_EQ(field1_->m_wModifiers, 0);
  // A modifier already held when a field gains the focus counts only from its next press.
  Focus(kPlain);
  Keys({Down(VK_LCONTROL)});
  Focus(kField1);
  Tap('A');
  EXPECT_EQ(field1_->m_wModifiers, 0);
  Keys({Down(VK_LCONTROL), Down('A')});
  EXPECT_EQ(field1_->m_wModifiers, 0x02);
  Keys({Up('A'), Up(VK_LCONTROL)});
}

TEST_F(HotKeyTest, SetCombinationNormalisesAndShows) {
  struct Case {
    uint16_t key, modifiers, storedKey, storedModifiers;
  } cases[] = {{164, 0x04, 164, 0}, {161, 0x18, 161, 0}, {16, 0x03, 16, 0x02}};
  for (const Case& c : cases) {
    field1_->SetCombination(c.key, c.modifiers);
    EXPECT_EQ(field1_->m_wKey, c.storedKey);
    EXPECT_EQ(field1_->m_wModifiers, c.storedModifiers);
    EXPECT_EQ(WindowText(field1_->Handle()), field1_->GetCombinationText());
  }
  EXPECT_EQ(field1_->GetCombinationText(), Name(17) + u" + " + Name(16));
  field1_->SetCombination(0, 0);
  EXPECT_EQ(WindowText(field1_->Handle()), u"");
}

}  // namespace
}  // namespace corvane::uitest
