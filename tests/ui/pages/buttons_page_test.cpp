// The Buttons page in the main window, driven through its controls: the rows in both selector
// modes, the function menu, the detail area, the interval rules, Restore Defaults, hover and
// the picture, the macro list and the language.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/function_names.h"
#include "storage/strings.h"
#include "ui/buttons_page.h"
#include "ui/framework/controls.h"
#include "ui/macros_page.h"
#include "window_fixture.h"

namespace corvane::uitest {
namespace {

using ui::kButtonRowIds;

std::u16string Builtin(uint32_t id) { return std::u16string(BuiltinString(id)); }

RECT ScreenRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

class ButtonsPageTest : public WindowTest {
 protected:
  // The usual library and rows: a hot key, macros found and not found, codes without a list
  // entry.
  void TypicalSetup(const std::string& sections, const std::string& application = "") {
    Settings(sections, application);
    Macros({u"Burst", u"Hello"});
    Assignments({Function(1), HotKey('S', kModLeftCtrl), MacroRow(u"Hello", kModeAuto, 100),
                 Function(14), Function(0), Function(37), MacroRow(u"Gone", kModeManual, 200)});
  }
  void StartOnButtons() {
    Start();
    SelectTab(ui::kTabButtons);
  }
  HWND Menu(int k) const { return Item(kButtonRowIds[k].Menu); }
  HWND Combo(int k) const { return Item(kButtonRowIds[k].Combo); }
  // Makes row k current as a focus change would.
  void Focus(HWND w) {
    SetFocus(w);
    Pump();
  }
  void ChooseFromMenu(int k, int command) {
    prompts_.MenuAnswers = {command};
    Click(Menu(k));
  }
  bool HotKeyRowShown() const { return Visible(ui::kIdHotKey) && Visible(ui::kIdLabelHotKey); }
  bool MacroGroupShown() const { return Visible(ui::kIdMacroChoice) && Visible(ui::kIdModeAuto); }
  bool IntervalRowShown() const { return Visible(ui::kIdInterval) && Visible(ui::kIdLabelMs); }
};

TEST_F(ButtonsPageTest, MenuModeNamesEachRowsFunction) {
  TypicalSetup("");
  StartOnButtons();
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(Visible(kButtonRowIds[k].Label), k < 7) << k;
    EXPECT_EQ(Visible(kButtonRowIds[k].Menu), k < 7) << k;
    EXPECT_FALSE(Visible(kButtonRowIds[k].Combo)) << k;
    EXPECT_EQ(GetWindowLongPtrW(Menu(k), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << k;
  }
  EXPECT_FALSE(IsWindowEnabled(Menu(0)));
  EXPECT_FALSE(IsWindowEnabled(Combo(0)));
  EXPECT_EQ(Text(kButtonRowIds[0].Menu), u"Left-click");
  EXPECT_EQ(Text(kButtonRowIds[2].Menu), u"Macro...Hello");
  EXPECT_EQ(Text(kButtonRowIds[3].Menu), u"Copy");  // not in the menu, still named
  EXPECT_EQ(Text(kButtonRowIds[4].Menu), u"Disabled");
  EXPECT_EQ(Text(kButtonRowIds[5].Menu), u"Bass Up");
  EXPECT_EQ(Text(kButtonRowIds[6].Menu), u"Macro...Gone");  // kept though no macro has it

  // The right button is current and focused: its hot key row, in the macro row's place.
  EXPECT_EQ(Buttons().CurrentButton(), 1);
  EXPECT_EQ(GetFocus(), Menu(1));
  EXPECT_TRUE(HotKeyRowShown());
  EXPECT_FALSE(MacroGroupShown());
  EXPECT_FALSE(IntervalRowShown());
  EXPECT_FALSE(Text(ui::kIdHotKey).empty());
  EXPECT_EQ(Text(kButtonRowIds[1].Menu), u"Hotkey..." + Text(ui::kIdHotKey));
  EXPECT_EQ(ScreenRect(Item(ui::kIdHotKey)).top, ScreenRect(Item(ui::kIdMacroChoice)).top);
  EXPECT_EQ(ScreenRect(Item(ui::kIdHotKey)).left, ScreenRect(Item(ui::kIdMacroChoice)).left);
  EXPECT_EQ(ScreenRect(Item(ui::kIdLabelHotKey)).top, ScreenRect(Item(ui::kIdLabelMacro)).top);
  EXPECT_EQ(Buttons().ShownPicture(), 1);
}

TEST_F(ButtonsPageTest, ComboModeListsAllFunctionsWithComposedTexts) {
  TypicalSetup("[Buttons]\r\nUseComboBox=1\r\n");
  StartOnButtons();
  for (int k = 0; k < 7; ++k) {
    ASSERT_TRUE(Visible(kButtonRowIds[k].Combo)) << k;
    EXPECT_FALSE(Visible(kButtonRowIds[k].Menu)) << k;
    ui::ComboBox combo(Combo(k));
    ASSERT_EQ(combo.Count(), kFunctionNameCount) << k;
    for (int i = 0; i < kFunctionNameCount; ++i) {
      EXPECT_EQ(combo.ItemData(i), FunctionNameTable[i].Code) << k << " " << i;
      int32_t code = FunctionNameTable[i].Code;
      if (code != kFunctionHotKey && code != kFunctionMacro) {
        EXPECT_EQ(combo.ItemText(i), Builtin(FunctionNameTable[i].StringId)) << k << " " << i;
      }
    }
  }
  EXPECT_FALSE(Visible(kButtonRowIds[7].Combo));
  EXPECT_FALSE(IsWindowEnabled(Combo(0)));
  ui::ComboBox right(Combo(1)), middle(Combo(2)), forward(Combo(3)), backward(Combo(4));
  // The hot key and macro entries carry the row's own texts, whatever the row's function.
  EXPECT_EQ(right.ItemText(right.Selection()), u"Hotkey..." + Text(ui::kIdHotKey));
  EXPECT_EQ(middle.ItemText(middle.Selection()), u"Macro...Hello");
  EXPECT_EQ(forward.ItemText(forward.Selection()), u"Copy");
  EXPECT_EQ(forward.ItemText(12), u"Hotkey...");
  EXPECT_EQ(forward.ItemText(37), u"Macro...");
  EXPECT_EQ(backward.Selection(), -1);  // code 0 has no entry
  EXPECT_EQ(Buttons().SelectorText(3), u"Copy");
  EXPECT_EQ(Buttons().SelectorText(4), u"");
  EXPECT_EQ(GetFocus(), Combo(1));
}

TEST_F(ButtonsPageTest, FunctionMenuCarriesTheCodesAndLeavesOutTheEditCommands) {
  TypicalSetup("");
  StartOnButtons();
  Click(Menu(3));  // dismissed
  ASSERT_EQ(prompts_.Menus.size(), 1u);
  HMENU menu = prompts_.Menus[0];
  RECT button = ScreenRect(Menu(3));
  EXPECT_EQ(prompts_.MenuPositions[0].x, button.left);
  EXPECT_EQ(prompts_.MenuPositions[0].y, button.bottom);
  for (const FunctionName& f : FunctionNameTable) {
    if (f.MenuCommand == 0) continue;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(menu, f.MenuCommand, FALSE, &item)) << f.MenuCommand;
    EXPECT_EQ(static_cast<int32_t>(item.dwItemData), f.Code) << f.MenuCommand;
  }
  for (UINT copyToUndo = 32806; copyToUndo <= 32810; ++copyToUndo)
    EXPECT_EQ(GetMenuState(menu, copyToUndo, MF_BYCOMMAND), static_cast<UINT>(-1));
  ASSERT_EQ(GetMenuItemCount(menu), 6);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  ASSERT_TRUE(GetMenuInfo(menu, &info));
  EXPECT_EQ(info.hbrBack, face);
  for (int i = 0; i < 6; ++i) {
    ASSERT_TRUE(GetMenuInfo(GetSubMenu(menu, i), &info));
    EXPECT_EQ(info.hbrBack, face) << i;
  }
  // Dismissing leaves the row as it was, and a plain function row keeps the focus.
  EXPECT_EQ(Row(3).FunctionCode, 14);
  EXPECT_EQ(GetFocus(), Menu(3));
  EXPECT_EQ(Buttons().CurrentButton(), 3);
}

TEST_F(ButtonsPageTest, ChoosingFromTheMenuSetsTheFunctionAndItsDetails) {
  TypicalSetup("");
  StartOnButtons();

  ChooseFromMenu(3, ID_FUNCTION_HOTKEY);
  EXPECT_EQ(Row(3).FunctionCode, kFunctionHotKey);
  EXPECT_EQ(Text(kButtonRowIds[3].Menu), u"Hotkey..." + Text(ui::kIdHotKey));
  EXPECT_EQ(GetFocus(), Item(ui::kIdHotKey));
  EXPECT_TRUE(HotKeyRowShown());
  EXPECT_FALSE(MacroGroupShown());

  ChooseFromMenu(4, ID_FUNCTION_MACRO);  // a row without a macro name: nothing to tell
  EXPECT_EQ(Row(4).FunctionCode, kFunctionMacro);
  EXPECT_EQ(Text(kButtonRowIds[4].Menu), u"Macro...");
  EXPECT_TRUE(prompts_.Messages.empty());
  EXPECT_EQ(GetFocus(), Item(ui::kIdMacroChoice));
  EXPECT_TRUE(MacroGroupShown());
  EXPECT_FALSE(HotKeyRowShown());
  EXPECT_EQ(ui::ComboBox(Item(ui::kIdMacroChoice)).Selection(), -1);

  ChooseFromMenu(4, 0);  // dismissed on a macro row: on to its macro
  EXPECT_EQ(Row(4).FunctionCode, kFunctionMacro);
  EXPECT_EQ(GetFocus(), Item(ui::kIdMacroChoice));

  ChooseFromMenu(5, ID_FUNCTION_VOLUME_UP);
  EXPECT_EQ(Row(5).FunctionCode, 35);
  EXPECT_EQ(Text(kButtonRowIds[5].Menu), u"Volume Up");
  EXPECT_FALSE(HotKeyRowShown());
  EXPECT_FALSE(MacroGroupShown());
  EXPECT_FALSE(IntervalRowShown());
}

TEST_F(ButtonsPageTest, AMacroNoLongerInTheLibraryIsNamedWhenChosenAgain) {
  for (bool combo : {false, true}) {
    SCOPED_TRACE(combo ? "combo-box mode" : "menu-button mode");
    prompts_.Messages.clear();
    TypicalSetup(combo ? "[Buttons]\r\nUseComboBox=1\r\n" : "");
    StartOnButtons();
    if (combo) {
      FocusOn(Combo(6));  // "Macro...Gone", chosen again in the opened list
      Press({VK_F4});
      Press({VK_RETURN});
    } else
      ChooseFromMenu(6, ID_FUNCTION_MACRO);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, u"Macro Gone is not found.");
    EXPECT_EQ(prompts_.Messages[0].Flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(Row(6).FunctionCode, kFunctionMacro);
    EXPECT_EQ(ui::ComboBox(Item(ui::kIdMacroChoice)).Selection(), -1);
    EXPECT_EQ(GetFocus(), Item(ui::kIdMacroChoice));
    dlg_.reset();
  }
}

// With real keys through the window's own loop: arrows through the closed list step over the
// hot key and the macro, showing their details but keeping the focus and asking nothing; a
// choice made in the opened list moves on to the field or the macro list.
TEST_F(ButtonsPageTest, ComboChoiceOfTheHotKeyMovesOnToTheField) {
  TypicalSetup("[Buttons]\r\nUseComboBox=1\r\n");
  StartOnButtons();
  ChooseEntry(Combo(5), 11);  // Cycling DPI, the entry before the hot key
  FocusOn(Combo(5));
  Press({VK_DOWN});
  EXPECT_EQ(Row(5).FunctionCode, kFunctionHotKey);
  EXPECT_EQ(Buttons().CurrentButton(), 5);
  EXPECT_TRUE(HotKeyRowShown());
  EXPECT_EQ(GetFocus(), Combo(5));
  Press({VK_DOWN});
  EXPECT_EQ(Row(5).FunctionCode, 13);
  EXPECT_FALSE(HotKeyRowShown());
  Press({VK_END});  // the macro, last: its macro is not chosen yet, and nothing is asked
  EXPECT_EQ(Row(5).FunctionCode, kFunctionMacro);
  EXPECT_TRUE(MacroGroupShown());
  EXPECT_EQ(GetFocus(), Combo(5));
  EXPECT_TRUE(prompts_.Messages.empty());

  ChooseEntry(Combo(5), 11);
  Press({VK_F4});
  Press({VK_DOWN});
  Press({VK_RETURN});
  EXPECT_EQ(Row(5).FunctionCode, kFunctionHotKey);
  EXPECT_EQ(GetFocus(), Item(ui::kIdHotKey));
  EXPECT_TRUE(HotKeyRowShown());
  ChooseEntry(Combo(5), 0);
  EXPECT_EQ(Row(5).FunctionCode, 1);
  EXPECT_FALSE(HotKeyRowShown());
}

TEST_F(ButtonsPageTest, MacroChoiceModeAndInterval) {
  TypicalSetup("");
  StartOnButtons();
  Focus(Menu(2));
  ASSERT_EQ(Buttons().CurrentButton(), 2);
  ASSERT_TRUE(MacroGroupShown());
  ui::ComboBox list(Item(ui::kIdMacroChoice));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.ItemText(list.Selection()), u"Hello");
  EXPECT_TRUE(IsDlgButtonChecked(Page(), ui::kIdModeAuto));
  EXPECT_EQ(Text(ui::kIdInterval), u"100");

  ChooseEntry(list.Handle(), 0);
  EXPECT_EQ(std::u16string(Row(2).MacroName), u"Burst");
  EXPECT_EQ(Row(2).MacroIndex, 0);
  EXPECT_EQ(Row(2).MacroLink, 1u);
  EXPECT_EQ(Text(kButtonRowIds[2].Menu), u"Macro...Burst");

  Click(Item(ui::kIdModeOneShot));
  EXPECT_EQ(Row(2).ExecutionMode, kModeOneShot);
  EXPECT_FALSE(IntervalRowShown());
  Click(Item(ui::kIdModeManual));
  EXPECT_EQ(Row(2).ExecutionMode, kModeManual);
  EXPECT_TRUE(IntervalRowShown());
  EXPECT_EQ(Text(ui::kIdInterval), u"100");
  EXPECT_EQ(Row(2).ExecutionInterval, 100u);
}

TEST_F(ButtonsPageTest, IntervalKeepsToItsLimits) {
  TypicalSetup("[Buttons]\r\nIntervalMax=5000\r\n");
  StartOnButtons();
  Focus(Menu(2));
  HWND interval = Item(ui::kIdInterval);
  EXPECT_EQ(SendMessageW(interval, EM_GETLIMITTEXT, 0, 0), 5);
  SetWindowTextW(interval, L"");
  Focus(interval);
  std::vector<uint32_t> stored;
  for (char16_t key : std::u16string(u"6000")) {
    Type(interval, std::u16string(1, key));
    stored.push_back(Row(2).ExecutionInterval);
  }
  EXPECT_EQ(stored, (std::vector<uint32_t>{6, 60, 600, 600}));
  EXPECT_EQ(Text(ui::kIdInterval), u"600");
  Type(interval, u"1");  // typing goes on at the end of the number put back: 6001, too large
  EXPECT_EQ(Text(ui::kIdInterval), u"600");
  EXPECT_EQ(Row(2).ExecutionInterval, 600u);

  // Leaving the field below IntervalMin stores the minimum and keeps the focus in the field.
  for (const wchar_t* typed : {L"10", L""}) {
    SetWindowTextW(interval, typed);
    Focus(interval);
    Focus(Menu(2));
    EXPECT_EQ(Row(2).ExecutionInterval, 66u) << typed;
    EXPECT_EQ(Text(ui::kIdInterval), u"66") << typed;
    EXPECT_EQ(GetFocus(), interval) << typed;
  }
  // Leaving with an allowed value moves on.
  SetWindowTextW(interval, L"70");
  Focus(Menu(3));
  EXPECT_EQ(Row(2).ExecutionInterval, 70u);
  EXPECT_EQ(GetFocus(), Menu(3));
}

TEST_F(ButtonsPageTest, AHugeNumberInTheIntervalFieldIsRefused) {
  TypicalSetup("[Buttons]\r\nIntervalMaxDigits=20\r\n");
  StartOnButtons();
  Focus(Menu(2));
  HWND interval = Item(ui::kIdInterval);
  EXPECT_EQ(SendMessageW(interval, EM_GETLIMITTEXT, 0, 0), 10);
  SetWindowTextW(interval, L"4294967296");  // one past the largest unsigned 32-bit number
  EXPECT_EQ(Row(2).ExecutionInterval, 100u);
  EXPECT_EQ(Text(ui::kIdInterval), u"100");
}

TEST_F(ButtonsPageTest, HoverShowsARowsPictureWithoutMakingItCurrent) {
  ShipPictures();
  TypicalSetup("");
  StartOnButtons();
  ASSERT_EQ(Buttons().ShownPicture(), 1);
  for (int k = 0; k < 7; ++k) EXPECT_FALSE(Buttons().Pictures()[k].Empty()) << k;
  EXPECT_TRUE(Buttons().Pictures()[7].Empty());

  PostMessageW(Menu(4), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Pump();
  EXPECT_EQ(Buttons().ShownPicture(), 4);
  EXPECT_EQ(Buttons().CurrentButton(), 1);
  EXPECT_TRUE(HotKeyRowShown());  // still the right button's details
  // The hovered button's text turns blue.
  auto bluePixels = [&](HWND w) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r{};
    GetClientRect(w, &r);
    HDC dc = GetDC(w);
    int n = 0;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) n += GetPixel(dc, x, y) == ui::CMenuButton::kHoverColor;
    ReleaseDC(w, dc);
    return n;
  };
  EXPECT_GT(bluePixels(Menu(4)), 0);
  EXPECT_EQ(bluePixels(Menu(3)), 0);
  // Leaving changes nothing but the colour.
  PostMessageW(Menu(4), WM_MOUSELEAVE, 0, 0);
  Pump();
  EXPECT_EQ(bluePixels(Menu(4)), 0);
  EXPECT_EQ(Buttons().ShownPicture(), 4);
  // The focus shows its row's picture again.
  Focus(Menu(2));
  EXPECT_EQ(Buttons().ShownPicture(), 2);
}

TEST_F(ButtonsPageTest, ButtonCountDecidesRowsAndPictures) {
  ShipPictures();
  // No row for a button the mouse lacks, in either selector mode.
  const struct {
    int count;
    int combo;
  } cases[] = {{2, 0}, {3, 1}, {5, 0}, {8, 1}};
  for (auto [count, combo] : cases) {
    SCOPED_TRACE(std::to_string(count) + (combo ? " combo" : " menu"));
    Settings("[Hardware]\r\nButtons=" + std::to_string(count) +
             "\r\n[Buttons]\r\nUseComboBox=" + std::to_string(combo) + "\r\n");
    StartOnButtons();
    EXPECT_EQ(Buttons().RowCount(), count);
    for (int k = 0; k < 8; ++k) {
      EXPECT_EQ(Visible(kButtonRowIds[k].Label), k < count) << k;
      EXPECT_EQ(Visible(kButtonRowIds[k].Menu), !combo && k < count) << k;
      EXPECT_EQ(Visible(kButtonRowIds[k].Combo), combo && k < count) << k;
      EXPECT_EQ(Buttons().Pictures()[k].Empty(), k >= count) << k;
    }
    dlg_.reset();
  }
}

TEST_F(ButtonsPageTest, RestoreDefaultsInMenuMode) {
  for (bool section : {false, true}) {
    SCOPED_TRACE(section ? "with ButtonsDefault" : "without ButtonsDefault");
    TypicalSetup(section ? "[ButtonsDefault]\r\n3=254\r\n4=255\r\n" : "");
    StartOnButtons();
    Focus(Menu(2));
    Click(Item(ui::kIdRestoreDefaults));
    // Key names are one-based; a missing key gives the zero-based row.
    std::vector<int32_t> codes;
    for (int k = 0; k < 7; ++k) codes.push_back(Row(k).FunctionCode);
    std::vector<int32_t> expected = {0, 1, 2, 3, 4, 5, 6};
    if (section) expected[2] = kFunctionHotKey, expected[3] = kFunctionMacro;
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(Text(kButtonRowIds[0].Menu), u"Disabled");
    EXPECT_EQ(Text(kButtonRowIds[1].Menu), u"Left-click");
    if (section) {
      EXPECT_EQ(Text(kButtonRowIds[2].Menu), u"Hotkey...");  // without the key's name
      EXPECT_EQ(Text(kButtonRowIds[3].Menu), u"Macro...");
    } else {
      EXPECT_EQ(Text(kButtonRowIds[2].Menu), u"Right-click");
    }
    // The rest of each assignment stays; so do the current button, its details and the picture.
    EXPECT_EQ(Row(1).HotKeyVk, 'S');
    EXPECT_EQ(std::u16string(Row(6).MacroName), u"Gone");
    EXPECT_EQ(Buttons().CurrentButton(), 2);
    EXPECT_EQ(Buttons().ShownPicture(), 2);
    EXPECT_TRUE(MacroGroupShown());
    dlg_.reset();
  }
}

TEST_F(ButtonsPageTest, RestoreDefaultsInComboModeMakesTheRightButtonCurrent) {
  struct Case {
    const char* Sections;
    int32_t RightCode;
    bool MacroDetails;
  };
  const Case cases[] = {
      {"", 1, false},
      {"[ButtonsDefault]\r\n2=40\r\n", 40, false},  // no entry for 40: the code is kept
      {"[ButtonsDefault]\r\n2=255\r\n", kFunctionMacro, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Sections);
    TypicalSetup(std::string("[Buttons]\r\nUseComboBox=1\r\n") + c.Sections);
    StartOnButtons();
    Focus(Combo(3));
    Click(Item(ui::kIdRestoreDefaults));
    EXPECT_EQ(Buttons().CurrentButton(), 1);
    EXPECT_EQ(Row(1).FunctionCode, c.RightCode);
    EXPECT_EQ(ui::ComboBox(Combo(2)).ItemText(ui::ComboBox(Combo(2)).Selection()), u"Right-click");
    EXPECT_EQ(MacroGroupShown(), c.MacroDetails);
    EXPECT_FALSE(HotKeyRowShown());
    EXPECT_EQ(Buttons().ShownPicture(), 3);  // the picture is not changed
    if (c.MacroDetails) {
      EXPECT_EQ(GetFocus(), Item(ui::kIdMacroChoice));
    }
    dlg_.reset();
  }
}

TEST_F(ButtonsPageTest, EditGoesToTheMacrosTab) {
  TypicalSetup("");
  StartOnButtons();
  Focus(Menu(2));
  Click(Item(ui::kIdEditMacro));
  EXPECT_EQ(dlg_->SelectedTab(), ui::kTabMacros);
  EXPECT_EQ(SendMessageW(GetDlgItem(Main(), ui::kIdTab), TCM_GETCURSEL, 0, 0), ui::kTabMacros);
  EXPECT_TRUE(IsWindowVisible(dlg_->MacrosPage()->Handle()));
  EXPECT_FALSE(IsWindowVisible(Page()));
}

TEST_F(ButtonsPageTest, EachShowingResolvesTheLinksAndRefillsTheMacroList) {
  TypicalSetup("");
  StartOnButtons();
  EXPECT_EQ(Row(2).MacroIndex, 1);
  SelectTab(ui::kTabMacros);
  MacroLibrary& library = dlg_->MacrosPage()->Library();
  CopyName(library.Macros[0].Name, kMacroNameUnits, u"Hello");
  CopyName(library.Macros[1].Name, kMacroNameUnits, u"Gone");
  SelectTab(ui::kTabButtons);
  EXPECT_EQ(Row(2).MacroIndex, 0);
  EXPECT_EQ(Row(2).MacroLink, 1u);
  EXPECT_EQ(Row(6).MacroIndex, 1);
  ui::ComboBox list(Item(ui::kIdMacroChoice));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.ItemText(0), u"Hello");
  EXPECT_EQ(list.ItemText(1), u"Gone");

  SelectTab(ui::kTabMacros);
  library.MacroCount = 0;
  SelectTab(ui::kTabButtons);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(IsWindowEnabled(list.Handle()));
  EXPECT_EQ(Row(2).MacroIndex, -1);
  EXPECT_EQ(std::u16string(Row(2).MacroName), u"Hello");  // the name stays
}

TEST_F(ButtonsPageTest, ALanguageFileRelabelsThePageButNotTheMenu) {
  TypicalSetup("", "LCID=1031\r\n");
  folder_.Write(L"Languages\\1031.ini",
                "[Strings]\r\n195=Linke Taste:\r\n196=Rechte Taste:\r\n305=Linksklick\r\n"
                "317=Taste...\r\n210=Standard\r\n212=Makro:\r\n");
  StartOnButtons();
  EXPECT_EQ(Text(kButtonRowIds[0].Label), u"Linke Taste:");
  EXPECT_EQ(Text(kButtonRowIds[1].Label), u"Rechte Taste:");
  EXPECT_EQ(Text(kButtonRowIds[2].Label), u"Middle Button:");
  EXPECT_EQ(Text(kButtonRowIds[0].Menu), u"Linksklick");
  EXPECT_EQ(Text(kButtonRowIds[1].Menu), u"Taste..." + Text(ui::kIdHotKey));
  EXPECT_EQ(Text(ui::kIdRestoreDefaults), u"Standard");
  EXPECT_EQ(Text(ui::kIdLabelMacro), u"Makro:");
  Click(Menu(3));
  ASSERT_EQ(prompts_.Menus.size(), 1u);
  wchar_t item[64] = {};
  GetMenuStringW(prompts_.Menus[0], ID_FUNCTION_LEFT_CLICK, item, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(item), L"Left-click");
}

// The page on its own, with a host whose language changes between two showings.
TEST(ButtonsPageLanguageTest, ANewLanguageRefillsTheRowsOnTheNextShowing) {
  TempAppFolder folder;
  folder.Write(L"Corvane.ini", "[Buttons]\r\nUseComboBox=1\r\n");
  folder.Write(L"Languages\\1031.ini", "[Strings]\r\n196=Rechte Taste:\r\n306=Rechtsklick\r\n");
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                nullptr, nullptr, nullptr);
  FakePageHost host;
  {
    ui::CButtonsDlg page(host);
    ASSERT_TRUE(page.CreatePage(parent));
    HWND label = GetDlgItem(page.Handle(), kButtonRowIds[1].Label);
    ui::ComboBox combo(page.Handle(), kButtonRowIds[1].Combo);
    ShowWindow(page.Handle(), SW_SHOW);
    EXPECT_EQ(WindowText(label), u"Right Button:");
    EXPECT_EQ(combo.ItemText(1), u"Right-click");
    ShowWindow(page.Handle(), SW_HIDE);
    host.Lcid = 1031;
    ShowWindow(page.Handle(), SW_SHOW);
    EXPECT_EQ(WindowText(label), u"Rechte Taste:");
    EXPECT_EQ(combo.ItemText(1), u"Rechtsklick");
    EXPECT_EQ(combo.Count(), kFunctionNameCount);
  }
  DestroyWindow(parent);
}

}  // namespace
}  // namespace corvane::uitest
