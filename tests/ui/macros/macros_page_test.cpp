// The Macros page on its own in a top-level window, driven by real input: SendInput reaches the
// hook library's low-level hooks and fires the registered start/stop hot key. Menus and file
// dialogs are answered by the prompts fake.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "macros/event_row.h"
#include "model/macro.h"
#include "model/text.h"
#include "storage/macro_store.h"
#include "storage/strings.h"
#include "ui/framework/controls.h"
#include "ui/ids.h"
#include "ui/macros_page.h"
#include "ui/ui_test_support.h"
#include "win32/input_support.h"

namespace corvane::uitest {
namespace {

using namespace corvane::ui;
using Events = std::vector<std::pair<int32_t, int32_t>>;

// Handles what arrives for about ms milliseconds: input goes through the hooks meanwhile.
void Settle(DWORD ms = 40) {
  DWORD start = GetTickCount();
  do {
    Pump();
    Sleep(2);
  } while (GetTickCount() - start < ms);
  Pump();
}

// Each returns the tick count at which the input entered the system: its time stamp.
DWORD SendKey(WORD vk, bool up) {
  INPUT in = testinput::KeyInput(vk, up);
  DWORD at = GetTickCount();
  SendInput(1, &in, sizeof in);
  Settle(15);
  return at;
}
void Press(WORD vk) {
  SendKey(vk, false);
  SendKey(vk, true);
}
// A click at a point of the screen. Down and up go in together: a list view waits for the
// release inside its button-down handling.
DWORD ClickAt(POINT screen, bool right = false) {
  SetCursorPos(screen.x, screen.y);
  Settle(10);
  INPUT in[2] = {testinput::MouseInput(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                 testinput::MouseInput(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
  DWORD at = GetTickCount();
  SendInput(2, in, sizeof in[0]);
  Settle();
  return at;
}
DWORD Click(HWND w, bool right = false) {
  RECT r{};
  GetWindowRect(w, &r);
  return ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, right);
}
// A click on a row's label; dx moves it sideways, so that two clicks in a row are no double click.
void ClickRow(HWND list, int row, bool right = false, int dx = 0) {
  RECT r{};
  r.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  POINT p{(r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  ClickAt(p, right);
}

class MacrosPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
    parent_ = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Macros page test", WS_POPUP | WS_VISIBLE,
                              0, 0, 620, 440, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    page_.reset();
    DestroyWindow(parent_);
    Settle(10);
  }

  // The library as files: names in Corvane.ini, events in Macros\<name>.ini.
  void Store(const std::vector<std::pair<std::u16string, Events>>& macros) {
    auto lib = std::make_unique<MacroLibrary>();
    ClearMacros(lib->Macros, kMaxMacros);
    int i = 0;
    for (const auto& [name, events] : macros) {
      Macro& m = lib->Macros[i++];
      CopyName(m.Name, name);
      for (auto [msg, data] : events) AppendEvent(m, msg, data);
      ASSERT_TRUE(SaveMacroEvents(m));
    }
    lib->MacroCount = i;
    ASSERT_TRUE(SaveMacroNames(*lib, i));
  }
  void Recording(const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(L"Recording", key, value, (folder_.Path() / L"Corvane.ini").c_str());
  }

  void Open() {
    page_ = std::make_unique<CMacrosDlg>(host_);
    ASSERT_TRUE(page_->CreatePage(parent_));
    SetWindowPos(page_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(parent_);
    Settle(30);
  }
  HWND Page() const { return page_->Handle(); }
  HWND Item(int id) const { return GetDlgItem(Page(), id); }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  ListView Macros() const { return ListView(Page(), kIdMacroList); }
  ListView EventRows() const { return ListView(Page(), kIdEventList); }
  const Macro& Entry(int i) const { return page_->Library().Macros[i]; }
  Events Of(int i) const {
    Events out;
    for (int k = 0; k < Entry(i).EventCount; ++k)
      out.emplace_back(Entry(i).Events[k].Message, Entry(i).Events[k].Data);
    return out;
  }
  std::vector<std::u16string> RowTexts() const {
    std::vector<std::u16string> out;
    for (int i = 0; i < EventRows().Count(); ++i) out.push_back(EventRows().ItemText(i));
    return out;
  }
  // The rows show the events of macro i, as texts built from them.
  void ExpectRowsShow(int i) const {
    std::vector<std::u16string> expected;
    for (int k = 0; k < Entry(i).EventCount; ++k) {
      const MacroEvent& e = Entry(i).Events[k];
      EventRowLook look = DescribeEvent(e);
      expected.push_back(look.IsDelay ? FormatDelayText(BuiltinString(IDS_EVENT_DELAY), e.Data)
                                      : std::u16string(BuiltinString(look.TextId)));
    }
    EXPECT_EQ(expected, RowTexts());
  }
  void Command(int id) {
    SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(id)));
    Settle(10);
  }
  DWORD RecordClick() { return Click(Item(kIdRecord)); }

  TempAppFolder folder_;
  FakePageHost host_;
  HWND parent_ = nullptr;
  std::unique_ptr<CMacrosDlg> page_;
};

const Events kTwoKeys{{256, 65}, {257, 65}, {256, 66}, {257, 66}};

// ---- Recording with real input ----------------------------------------------------------------

TEST_F(MacrosPageTest, RecordByTheButtonWithoutDelays) {
  Store({{u"First", {}}, {u"Second", {}}});
  Open();
  RecordClick();
  ASSERT_TRUE(page_->Recorder().Recording());
  EXPECT_EQ(u"Stop Recording", WindowText(Item(kIdRecord)));
  // While recording only the event list and the record button take input.
  for (int id : {kIdMacroList, kIdRecordMouse, kIdRecordKeyboard, kIdRecordDelay, kIdRecordMinimize,
                 kIdRecordUseHotkey, kIdRecordHotkey, kIdMacroNew, kIdMacroDelete, kIdMacroRename,
                 kIdMacroSave, kIdMacroImport, kIdMacroExport})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(kIdEventList));
  EXPECT_TRUE(Enabled(kIdRecord));
  EXPECT_EQ(nullptr, GetFocus());
  Press('A');
  Press(VK_F5);
  RecordClick();
  ASSERT_FALSE(page_->Recorder().Recording());
  // The start click is not in the macro; the stop click is.
  EXPECT_EQ((Events{{256, 65}, {257, 65}, {256, 116}, {257, 116}, {513, 0}, {514, 0}}), Of(0));
  EXPECT_EQ(1, Entry(0).Modified);
  ExpectRowsShow(0);
  EXPECT_EQ(u"A", RowTexts()[0]);
  EXPECT_EQ(u"Start Recording", WindowText(Item(kIdRecord)));
  for (int id : {kIdMacroList, kIdMacroNew, kIdMacroDelete, kIdMacroSave, kIdMacroExport})
    EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_FALSE(Enabled(kIdRecordHotkey));  // the hot key is not in use
  EXPECT_EQ(Item(kIdMacroSave), GetFocus());
}

TEST_F(MacrosPageTest, RecordByTheButtonWithDelays) {
  Store({{u"Timed", {}}});
  Recording(L"RecordingDelay", L"1");
  Recording(L"RecordingMouse", L"0");
  Open();
  // The delays are the gaps between the inputs' time stamps, as sent.
  DWORD start = RecordClick();
  Sleep(300);
  DWORD down = SendKey('A', false);
  Sleep(80);
  DWORD up = SendKey('A', true);
  RecordClick();
  Events got = Of(0);
  ASSERT_EQ(4u, got.size());
  EXPECT_EQ(1280, got[0].first);
  EXPECT_NEAR(static_cast<int>(down - start), got[0].second, 20);
  EXPECT_GE(got[0].second, 300);
  EXPECT_EQ((std::pair<int32_t, int32_t>{256, 65}), got[1]);
  EXPECT_EQ(1280, got[2].first);
  EXPECT_NEAR(static_cast<int>(up - down), got[2].second, 20);
  EXPECT_GE(got[2].second, 80);
  EXPECT_EQ((std::pair<int32_t, int32_t>{257, 65}), got[3]);
  ExpectRowsShow(0);
}

TEST_F(MacrosPageTest, RecordByTheHotkeyTakesTheHotkeyBack) {
  Store({{u"Hot", {}}});
  Recording(L"RecordingUseHotkey", L"1");
  Recording(L"RecordingHotkey", L"40070");
  Recording(L"RecordingMouse", L"0");
  Recording(L"RecordingMinimize", L"1");
  Open();
  EXPECT_TRUE(Enabled(kIdRecordHotkey));
  EXPECT_EQ(
      u"Alt+F1",
      ComboBox(Page(), kIdRecordHotkey).ItemText(ComboBox(Page(), kIdRecordHotkey).Selection()));
  SendKey(VK_LMENU, false);
  Press(VK_F1);
  SendKey(VK_LMENU, true);
  ASSERT_TRUE(page_->Recorder().Recording());
  EXPECT_TRUE(IsIconic(parent_));
  Press('B');
  SendKey(VK_LMENU, false);
  Press(VK_F1);
  SendKey(VK_LMENU, true);
  ASSERT_FALSE(page_->Recorder().Recording());
  EXPECT_FALSE(IsIconic(parent_));
  // The trailing Alt and F1 of the stopping hot key are gone; the releases came after the stop.
  EXPECT_EQ((Events{{256, 66}, {257, 66}}), Of(0));
  ExpectRowsShow(0);
}

TEST_F(MacrosPageTest, ChangingTheHotkeyReleasesTheEarlierKey) {
  Store({{u"Hot", {}}});
  Recording(L"RecordingUseHotkey", L"1");
  Recording(L"RecordingHotkey", L"40070");
  Open();
  HWND other =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(RegisterHotKey(other, 1, MOD_ALT, VK_F1));  // the page holds it
  ComboBox list(Page(), kIdRecordHotkey);
  list.Select(1);
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(kIdRecordHotkey, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list.Handle()));
  EXPECT_EQ(0x40071u, page_->Options().RecordingHotkey);
  EXPECT_TRUE(RegisterHotKey(other, 1, MOD_ALT, VK_F1));
  EXPECT_FALSE(RegisterHotKey(other, 2, MOD_ALT, VK_F2));
  UnregisterHotKey(other, 1);
  // Turning the hot key off releases it; the list follows the box.
  Button(Page(), kIdRecordUseHotkey).SetCheck(false);
  Command(kIdRecordUseHotkey);
  EXPECT_FALSE(Enabled(kIdRecordHotkey));
  EXPECT_TRUE(RegisterHotKey(other, 2, MOD_ALT, VK_F2));
  UnregisterHotKey(other, 2);
  // The page's end releases it too.
  Button(Page(), kIdRecordUseHotkey).SetCheck(true);
  Command(kIdRecordUseHotkey);
  page_.reset();
  EXPECT_TRUE(RegisterHotKey(other, 2, MOD_ALT, VK_F2));
  UnregisterHotKey(other, 2);
  DestroyWindow(other);
  EXPECT_EQ(L"1", folder_.Profile(L"Recording", L"RecordingUseHotkey"));
  EXPECT_EQ(L"40071", folder_.Profile(L"Recording", L"RecordingHotkey"));
}

TEST_F(MacrosPageTest, RecordBeforeAndAfterAMiddleRow) {
  Store({{u"Mid", kTwoKeys}});
  Recording(L"RecordingMouse", L"0");
  const struct {
    int Command;
    Events Expected;
  } cases[] = {
      {kCmdRecordBefore, {{256, 65}, {257, 65}, {256, 67}, {257, 67}, {256, 66}, {257, 66}}},
      {kCmdRecordAfter, {{256, 65}, {257, 65}, {256, 66}, {256, 67}, {257, 67}, {257, 66}}},
  };
  for (const auto& c : cases) {
    Open();
    host_.PromptsFake.MenuAnswers = {c.Command};
    ClickRow(EventRows().Handle(), 2, true);
    ASSERT_TRUE(page_->Recorder().Recording());
    Press('C');
    RecordClick();
    EXPECT_EQ(c.Expected, Of(0));
    ExpectRowsShow(0);
    page_.reset();
  }
}

TEST_F(MacrosPageTest, AFullMacroGainsNothing) {
  Events full;
  for (int i = 0; i < kMaxEvents; ++i) full.emplace_back(i % 2 ? 257 : 256, 65 + (i / 2) % 20);
  Store({{u"Full", full}});
  Open();
  RecordClick();
  Press('Z');
  RecordClick();
  EXPECT_EQ(full, Of(0));
  EXPECT_EQ(kMaxEvents, EventRows().Count());
  EXPECT_EQ(0, Entry(0).Modified);
}

TEST_F(MacrosPageTest, TheEventMenuDoesNotOpenWhileRecording) {
  Store({{u"Mid", kTwoKeys}});
  Recording(L"RecordingMouse", L"0");
  Open();
  RecordClick();
  ClickRow(EventRows().Handle(), 1, true);
  EXPECT_TRUE(host_.PromptsFake.MenusShown.empty());
  RecordClick();
  ClickRow(EventRows().Handle(), 1, true);
  ASSERT_EQ(1u, host_.PromptsFake.MenusShown.size());
  // On a key row everything but Edit is offered.
  EXPECT_EQ((std::vector<int>{kCmdRecordBefore, kCmdRecordAfter, kCmdInsertDelay, kCmdDeleteEvent}),
            host_.PromptsFake.MenusShown[0]);
}

// ---- Editing by hand --------------------------------------------------------------------------

TEST_F(MacrosPageTest, InsertDelayOpensTheEditorAndTheEditorKeepsTheRange) {
  Store({{u"Edit", {{256, 65}, {257, 65}, {256, 66}, {257, 66}, {256, 67}}}});
  Recording(L"DelayMaxDigits", L"6");
  Open();
  host_.PromptsFake.MenuAnswers = {kCmdInsertDelay};
  ClickRow(EventRows().Handle(), 3, true);
  EXPECT_EQ((Events{{256, 65}, {257, 65}, {256, 66}, {1280, 128}, {257, 66}, {256, 67}}), Of(0));
  HWND edit = EventRows().EditControl();
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(u"128", WindowText(edit));
  // Typing replaces the selected text; letters do not go in.
  for (WORD vk : {'1', '0', 'X', '0', '0', '0', '0'}) Press(vk);
  EXPECT_EQ(u"100000", WindowText(edit));
  Press(VK_RETURN);
  EXPECT_EQ(nullptr, EventRows().EditControl());
  EXPECT_EQ(128, Entry(0).Events[3].Data);  // above DelayMax: the old value stays
  EXPECT_EQ(u"Delay 128 ms", EventRows().ItemText(3));

  const struct {
    std::vector<WORD> Keys;
    int32_t Stored;
  } cases[] = {{{'0', VK_RETURN}, 0},
               {{'4', '2', VK_RETURN}, 42},
               {{'7', VK_ESCAPE}, 42},
               {{VK_RETURN}, 42}};
  int dx = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Stored);
    host_.PromptsFake.MenuAnswers = {kCmdEditDelay};
    ClickRow(EventRows().Handle(), 3, true, dx += 10);
    ASSERT_TRUE(host_.PromptsFake.MenuAnswers.empty());
    ASSERT_NE(nullptr, EventRows().EditControl());
    for (WORD vk : c.Keys) Press(vk);
    EXPECT_EQ(nullptr, EventRows().EditControl());
    EXPECT_EQ(c.Stored, Entry(0).Events[3].Data);
    EXPECT_EQ(FormatDelayText(u"Delay", c.Stored), EventRows().ItemText(3));
  }
  // A delay row offers Edit; empty space offers nothing.
  EXPECT_EQ((std::vector<int>{kCmdRecordBefore, kCmdRecordAfter, kCmdInsertDelay, kCmdEditDelay,
                              kCmdDeleteEvent}),
            host_.PromptsFake.MenusShown.back());
  RECT r{};
  GetClientRect(EventRows().Handle(), &r);
  POINT below{20, r.bottom - 10};
  ClientToScreen(EventRows().Handle(), &below);
  ClickAt(below, true);
  EXPECT_TRUE(host_.PromptsFake.MenusShown.back().empty());
}

TEST_F(MacrosPageTest, DoubleClickOnADelayOpensTheEditorAndAChangeMarksTheMacro) {
  Store({{u"Edit", {{256, 65}, {1280, 500}, {257, 65}}}});
  Open();
  // A real double click: two clicks within the double-click time.
  ClickRow(EventRows().Handle(), 1);
  ClickRow(EventRows().Handle(), 1);
  HWND edit = EventRows().EditControl();
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(u"500", WindowText(edit));
  EXPECT_EQ(0, Entry(0).Modified);
  Press('7');
  Press(VK_RETURN);
  EXPECT_EQ(7, Entry(0).Events[1].Data);
  EXPECT_EQ(1, Entry(0).Modified);
}

TEST_F(MacrosPageTest, DeleteEventRemovesItsRow) {
  Store({{u"Del", kTwoKeys}});
  Open();
  host_.PromptsFake.MenuAnswers = {kCmdDeleteEvent};
  ClickRow(EventRows().Handle(), 1, true);
  EXPECT_EQ((Events{{256, 65}, {256, 66}, {257, 66}}), Of(0));
  ExpectRowsShow(0);
}

TEST_F(MacrosPageTest, RowsCarryTheirTextsAndIcons) {
  Store({{u"Looks",
          {{260, 164},
           {261, 164},
           {513, 0},
           {522, -120},
           {522, 120},
           {1280, 25},
           {515, 0},
           {256, 999}}}});
  Open();
  const struct {
    const char16_t* Text;
    int State;  // state image index + 1, 0 for none
    int Image;
  } rows[] = {
      {u"Left ALT", 1, 0},
      {u"Left ALT", 1, 1},
      {u"Left Button Down", 3, 2},
      {u"Wheel Button Backward", 3, 4},
      {u"Wheel Button Forward", 3, 5},
      {u"Delay 25 ms", 7, I_IMAGENONE},
      {u"Left Button Double Click", 0, I_IMAGENONE},
      {u"", 1, 0},
  };
  ASSERT_EQ(8, EventRows().Count());
  for (int i = 0; i < 8; ++i) {
    LVITEMW item{};
    item.mask = LVIF_STATE | LVIF_IMAGE;
    item.iItem = i;
    item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(EventRows().Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(rows[i].Text, EventRows().ItemText(i)) << i;
    EXPECT_EQ(rows[i].State, static_cast<int>((item.state & LVIS_STATEIMAGEMASK) >> 12)) << i;
    EXPECT_EQ(rows[i].Image, item.iImage) << i;
  }
  // Both image lists hold seven 16 x 16 icons.
  for (int which : {LVSIL_STATE, LVSIL_SMALL}) {
    auto list = reinterpret_cast<HIMAGELIST>(
        SendMessageW(EventRows().Handle(), LVM_GETIMAGELIST, static_cast<WPARAM>(which), 0));
    EXPECT_EQ(7, ImageList_GetImageCount(list));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    EXPECT_EQ(16, cx);
    EXPECT_EQ(16, cy);
  }
}

// ---- The macro list ---------------------------------------------------------------------------

TEST_F(MacrosPageTest, ArrowKeysShowTheNewlySelectedMacro) {
  Store({{u"One", {{256, 49}}}, {u"Two", {{256, 50}, {257, 50}}}, {u"Three", {}}});
  Open();
  EXPECT_EQ(0, page_->SelectedMacro());
  ExpectRowsShow(0);
  ClickRow(Macros().Handle(), 0);
  Press(VK_DOWN);
  EXPECT_EQ(1, page_->SelectedMacro());
  ExpectRowsShow(1);
  Press(VK_DOWN);
  EXPECT_EQ(0, EventRows().Count());
  Press(VK_UP);
  ExpectRowsShow(1);
  // A click beside the rows selects the row clicked last again.
  RECT r{};
  GetClientRect(Macros().Handle(), &r);
  POINT below{20, r.bottom - 10};
  ClientToScreen(Macros().Handle(), &below);
  ClickAt(below);
  EXPECT_EQ(0, page_->SelectedMacro());
  ExpectRowsShow(0);
}

TEST_F(MacrosPageTest, NewAddsAnEditableRowUntilTheLibraryIsFull) {
  Store({{u"New Macro", kTwoKeys}});
  Open();
  Command(kIdMacroNew);
  ASSERT_EQ(2, page_->Library().MacroCount);
  EXPECT_EQ(u"New Macro (2)", NameView(Entry(1).Name));
  EXPECT_EQ(1, page_->SelectedMacro());
  EXPECT_EQ(0, EventRows().Count());
  ASSERT_NE(nullptr, Macros().EditControl());
  EXPECT_EQ(63, static_cast<int>(SendMessageW(Macros().EditControl(), EM_GETLIMITTEXT, 0, 0)));
  Press(VK_ESCAPE);
  EXPECT_EQ(u"New Macro (2)", NameView(Entry(1).Name));
  EXPECT_TRUE(MacroFileExists(u"New Macro (2)"));

  std::vector<std::pair<std::u16string, Events>> many;
  for (int i = 0; i < kMaxMacros; ++i)
    many.push_back(
        {u"M" + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'a' + i / 26), {}});
  page_.reset();
  Store(many);
  Open();
  Command(kIdMacroNew);
  EXPECT_EQ(kMaxMacros, page_->Library().MacroCount);
  EXPECT_EQ(kMaxMacros, Macros().Count());
  EXPECT_EQ(nullptr, Macros().EditControl());
}

TEST_F(MacrosPageTest, DeletingTheOnlyMacroDisablesWhatNeedsOne) {
  Store({{u"Only", kTwoKeys}});
  Open();
  Command(kIdMacroDelete);
  EXPECT_EQ(0, page_->Library().MacroCount);
  EXPECT_EQ(0, Macros().Count());
  EXPECT_EQ(0, EventRows().Count());
  EXPECT_FALSE(MacroFileExists(u"Only"));
  EXPECT_EQ(L"0", folder_.Profile(L"Macros", L"Numbers"));
  for (int id : {kIdMacroDelete, kIdMacroRename, kIdMacroSave, kIdMacroExport, kIdRecord})
    EXPECT_FALSE(Enabled(id)) << id;
  for (int id : {kIdMacroNew, kIdMacroImport, kIdMacroList}) EXPECT_TRUE(Enabled(id)) << id;
  // The macro list's menu on empty space offers New and Import... only.
  Click(Macros().Handle(), true);
  ASSERT_EQ(1u, host_.PromptsFake.MenusShown.size());
  EXPECT_EQ((std::vector<int>{kCmdMacroNew, kCmdMacroImport}), host_.PromptsFake.MenusShown[0]);
}

TEST_F(MacrosPageTest, DeleteKeepsTheLaterRowsInStep) {
  Store({{u"A", {{256, 65}}}, {u"B", {{256, 66}}}, {u"C", {{256, 67}}}});
  Open();
  ClickRow(Macros().Handle(), 1);
  host_.PromptsFake.MenuAnswers = {kCmdMacroDelete};
  ClickRow(Macros().Handle(), 1, true);
  ASSERT_EQ(2, Macros().Count());
  EXPECT_EQ(-1, page_->SelectedMacro());
  EXPECT_EQ(0, EventRows().Count());
  EXPECT_EQ(1, Macros().ItemData(1));
  EXPECT_EQ(u"C", Macros().ItemText(1));
  ClickRow(Macros().Handle(), 1);
  ExpectRowsShow(1);
  EXPECT_EQ((Events{{256, 67}}), Of(1));
}

TEST_F(MacrosPageTest, RenameMovesTheEventsFile) {
  Store({{u"Old", kTwoKeys}, {u"Taken", {}}});
  Open();
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(kIdMacroRename, BN_CLICKED), 0);
  HWND edit = Macros().EditControl();
  ASSERT_NE(nullptr, edit);
  SetWindowTextW(edit, L"Fresh");
  Press(VK_RETURN);
  EXPECT_EQ(u"Fresh", NameView(Entry(0).Name));
  EXPECT_EQ(u"Fresh", Macros().ItemText(0));
  EXPECT_TRUE(MacroFileExists(u"Fresh"));
  EXPECT_FALSE(MacroFileExists(u"Old"));
  EXPECT_EQ(L"Fresh", folder_.Profile(L"Macros", L"1"));
  EXPECT_EQ(Item(kIdRecord), GetFocus());
  // A name another macro has is refused and said so.
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(kIdMacroRename, BN_CLICKED), 0);
  SetWindowTextW(Macros().EditControl(), L"taken");
  Press(VK_RETURN);
  EXPECT_EQ(u"Fresh", NameView(Entry(0).Name));
  EXPECT_EQ(u"Fresh", Macros().ItemText(0));
  ASSERT_EQ(1u, host_.PromptsFake.Messages.size());
  EXPECT_NE(std::u16string::npos, host_.PromptsFake.Messages[0].Text.find(u"taken"));
}

TEST_F(MacrosPageTest, ImportAndExportThroughTheFileDialogs) {
  Store({{u"Out", kTwoKeys}});
  Open();
  const std::u16string file = (folder_.Path() / L"Shared.mcr").u16string();
  host_.PromptsFake.SaveAnswers = {file};
  Command(kIdMacroExport);
  ASSERT_EQ(1u, host_.PromptsFake.FileTitles.size());
  EXPECT_EQ(u"Export", host_.PromptsFake.FileTitles[0]);
  EXPECT_EQ(u"Out", host_.PromptsFake.OfferedNames[0]);
  host_.PromptsFake.OpenAnswers = {file};
  Command(kIdMacroImport);
  EXPECT_EQ(u"Import", host_.PromptsFake.FileTitles[1]);
  ASSERT_EQ(2, page_->Library().MacroCount);
  EXPECT_EQ(u"Shared", NameView(Entry(1).Name));
  EXPECT_EQ(kTwoKeys, Of(1));
  EXPECT_EQ(1, page_->SelectedMacro());
  ExpectRowsShow(1);
  // A cancelled dialog changes nothing.
  Command(kIdMacroImport);
  EXPECT_EQ(2, page_->Library().MacroCount);
  // An export the file system refuses is told.
  host_.PromptsFake.SaveAnswers = {(folder_.Path() / L"missing" / L"x.mcr").u16string()};
  Command(kIdMacroExport);
  ASSERT_EQ(1u, host_.PromptsFake.Messages.size());
  EXPECT_NE(std::u16string::npos, host_.PromptsFake.Messages[0].Text.find(u"x.mcr"));
}

// The Macros folder holds each macro's own file: an export picked onto another macro's file,
// however its path is spelled, would replace that macro's events. It is refused and told.
TEST_F(MacrosPageTest, ExportOntoAnotherMacrosOwnFileIsRefused) {
  Store({{u"Out", kTwoKeys}, {u"Other", {{256, 67}, {257, 67}}}});
  Open();
  ASSERT_EQ(0, page_->SelectedMacro());
  const std::string other = folder_.Read(L"Macros\\Other.ini");
  ASSERT_FALSE(other.empty());
  for (const std::filesystem::path& target : {folder_.Path() / L"Macros" / L"Other.ini",
                                              folder_.Path() / L"Macros" / L"." / L"Other.ini"}) {
    SCOPED_TRACE(target.string());
    host_.PromptsFake.Messages.clear();
    host_.PromptsFake.SaveAnswers = {target.u16string()};
    Command(kIdMacroExport);
    EXPECT_EQ(other, folder_.Read(L"Macros\\Other.ini"));
    ASSERT_EQ(1u, host_.PromptsFake.Messages.size());
    EXPECT_EQ(FormatMessageText(BuiltinString(IDS_MACRO_EXPORT_FAILED), target.u16string()),
              host_.PromptsFake.Messages[0].Text);
  }
  // Its own file is its own to write.
  host_.PromptsFake.Messages.clear();
  host_.PromptsFake.SaveAnswers = {(folder_.Path() / L"Macros" / L"Out.ini").u16string()};
  Command(kIdMacroExport);
  EXPECT_TRUE(host_.PromptsFake.Messages.empty());
}

TEST_F(MacrosPageTest, RecordingOptionsFollowTheirBoxesAndAreSavedAtTheEnd) {
  Open();
  const int boxes[] = {kIdRecordMouse, kIdRecordKeyboard, kIdRecordDelay, kIdRecordMinimize};
  const wchar_t* keys[] = {L"RecordingMouse", L"RecordingKeyboard", L"RecordingDelay",
                           L"RecordingMinimize"};
  for (int i = 0; i < 4; ++i) {
    Button box(Page(), boxes[i]);
    box.SetCheck(!box.IsChecked());
    Command(boxes[i]);
  }
  EXPECT_EQ(0, page_->Options().RecordingMouse);
  EXPECT_EQ(1, page_->Options().RecordingMinimize);
  page_.reset();
  const wchar_t* expected[] = {L"0", L"0", L"1", L"1"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(expected[i], folder_.Profile(L"Recording", keys[i]));
}

TEST_F(MacrosPageTest, AnEmptyLibraryRecordsIntoEntryZeroByTheHotkey) {
  Recording(L"RecordingUseHotkey", L"1");
  Recording(L"RecordingHotkey", L"40072");
  Recording(L"RecordingMouse", L"0");
  Open();
  EXPECT_FALSE(Enabled(kIdRecord));
  SendKey(VK_LMENU, false);
  Press(VK_F3);
  SendKey(VK_LMENU, true);
  ASSERT_TRUE(page_->Recorder().Recording());
  Press('Q');
  SendKey(VK_LMENU, false);
  Press(VK_F3);
  SendKey(VK_LMENU, true);
  ASSERT_FALSE(page_->Recorder().Recording());
  EXPECT_EQ((Events{{256, 81}, {257, 81}}), Of(0));
  EXPECT_EQ(0, page_->Library().MacroCount);
  EXPECT_FALSE(Enabled(kIdRecord));
}

}  // namespace
}  // namespace corvane::uitest
