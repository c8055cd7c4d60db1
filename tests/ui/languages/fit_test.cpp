// Every text of every page, in English and in every shipped language, measured in its control's
// font against the control's real size: nothing may be cut off, or wrap where the control has no
// room for a second line. The templates are fixed; a translation that does not fit is reworded.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/fake_hid_platform.h"
#include "model/function_names.h"
#include "storage/strings.h"
#include "storage/text_encoding.h"
#include "ui/buttons_page.h"
#include "ui/framework/scoped.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
#include "ui/menu_button.h"
#include "ui/ui_test_support.h"

namespace corvane::uitest {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const std::wstring& s) {
  return text::Utf16ToUtf8(std::u16string(s.begin(), s.end()));
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

std::wstring TextOf(HWND w) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The text as DrawText lays it out in the control's font: for a width of 0 on one line,
// otherwise broken at words within width.
SIZE Measure(HWND control, const std::wstring& text, int width, UINT flags) {
  ui::ScopedGetDC dc(control);
  ui::ScopedSelect font(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            flags | DT_CALCRECT | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  return {r.right - r.left, r.bottom - r.top};
}

struct Misfit {
  std::string Where;  // the page
  int ControlId;
  std::wstring Text;
  std::string What;
};

// How much of a control's client area its text may take, as the controls draw it: a push
// button keeps its edge and focus rectangle clear, a check box or radio button starts its
// text after the box, a group box writes its title into the top edge between its corners.
struct Room {
  int Width;
  int Height;
  bool Wraps;
};

bool RoomFor(HWND w, Room& room) {
  RECT r{};
  GetClientRect(w, &r);
  room = {r.right - r.left, r.bottom - r.top, false};
  LONG style = GetWindowLongW(w, GWL_STYLE);
  std::wstring cls = ClassOf(w);
  if (_wcsicmp(cls.c_str(), L"Static") == 0) {
    // A text cut with an ellipsis holds data of any length (a macro's name): cut by design.
    if (style & SS_ELLIPSISMASK) return false;
    switch (style & SS_TYPEMASK) {
      case SS_LEFT:
      case SS_CENTER:
      case SS_RIGHT: room.Wraps = true; return true;
      case SS_LEFTNOWORDWRAP:
      case SS_SIMPLE: return true;
      default: return false;  // icons, pictures, frames, owner-drawn
    }
  }
  if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    int edge = GetSystemMetrics(SM_CXEDGE);
    switch (style & BS_TYPEMASK) {
      case BS_GROUPBOX:
        room.Width -= 2 * (GetSystemMetrics(SM_CXMENUCHECK) / 2 + edge);
        room.Height = Measure(w, L"Ag", 0, 0).cy;
        return true;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
      case BS_3STATE:
      case BS_AUTO3STATE:
        room.Width -= GetSystemMetrics(SM_CXMENUCHECK) + 2 * edge;
        room.Wraps = (style & BS_MULTILINE) != 0;
        return true;
      case BS_OWNERDRAW:
      case BS_USERBUTTON: return false;
      default:
        room.Width -= 2 * (edge + 1);
        room.Height -= 2 * (edge + 1);
        room.Wraps = (style & BS_MULTILINE) != 0;
        return true;
    }
  }
  return false;  // list views, edits, trackbars, tabs: no caption of ours
}

// A drop-down list shows its chosen item in the field left of its arrow button.
void CheckListItems(HWND w, const std::string& where, std::vector<Misfit>& out) {
  RECT r{};
  GetClientRect(w, &r);
  int room = r.right - r.left - GetSystemMetrics(SM_CXVSCROLL) - 2 * GetSystemMetrics(SM_CXEDGE);
  int count = static_cast<int>(SendMessageW(w, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring item(static_cast<size_t>(SendMessageW(w, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    item.resize(static_cast<size_t>(
        SendMessageW(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    SIZE line = Measure(w, item, 0, DT_NOPREFIX);
    if (line.cx > room)
      out.push_back(
          {where, GetDlgCtrlID(w), item,
           "list item " + std::to_string(line.cx) + " px wide, room for " + std::to_string(room)});
  }
}

void CheckControl(HWND w, const std::string& where, std::vector<Misfit>& out) {
  if (_wcsicmp(ClassOf(w).c_str(), L"ComboBox") == 0) return CheckListItems(w, where, out);
  std::wstring text = TextOf(w);
  Room room{};
  if (text.empty() || !RoomFor(w, room)) return;
  LONG style = GetWindowLongW(w, GWL_STYLE);
  bool isStatic = _wcsicmp(ClassOf(w).c_str(), L"Static") == 0;
  UINT prefix = isStatic && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  int id = GetDlgCtrlID(w);
  SIZE line = Measure(w, text, 0, prefix);
  if (line.cx <= room.Width) return;
  std::ostringstream what;
  if (!room.Wraps) {
    what << line.cx << " px wide on one line, room for " << room.Width;
    out.push_back({where, id, text, what.str()});
    return;
  }
  SIZE wrapped = Measure(w, text, room.Width, prefix);
  if (wrapped.cx > room.Width) {
    what << "a word " << wrapped.cx << " px wide, room for " << room.Width;
  } else if (wrapped.cy > room.Height) {
    what << "wraps to " << wrapped.cy / std::max<LONG>(line.cy, 1) << " lines, room for "
         << room.Height / std::max<LONG>(line.cy, 1);
  } else {
    return;
  }
  out.push_back({where, id, text, what.str()});
}

void CheckChildren(HWND parent, const std::string& where, std::vector<Misfit>& out) {
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    // Pages are windows of their own, checked when shown.
    if (ClassOf(w) == L"#32770") continue;
    CheckControl(w, where, out);
  }
}

// A function menu button draws its text itself, in the system's menu font. Windows 10 and 11
// make that Segoe UI 9 pt, larger than the 8 pt font Wine gives (Liberation Sans for Tahoma
// here): a text is measured in the button's face at 9 pt at least, and kept 5 % inside its room
// beyond that, as Segoe UI runs up to about 5 % wider than Arial's metrics at the same size in
// Latin and Cyrillic lowercase. So a name that fits here fits on Windows too.
constexpr int kWindowsMenuPoints = 9;
constexpr int kFaceMarginPercent = 5;

// The font a menu button's texts are measured in: its own, made at least kWindowsMenuPoints.
ui::ScopedGdi<HFONT> MeasuringFont(HFONT menuFont) {
  LOGFONTW face{};
  GetObjectW(menuFont, sizeof(face), &face);
  ui::ScopedGetDC screen(nullptr);
  const LONG windows = -MulDiv(kWindowsMenuPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
  if (face.lfHeight > windows) face.lfHeight = windows;  // heights are negative: pixel sizes
  return ui::ScopedGdi<HFONT>(CreateFontIndirectW(&face));
}

// The width a text needs on a menu button, with the margin.
LONG MenuTextWidth(LONG measured) { return measured * (100 + kFaceMarginPercent) / 100; }

// On one line within the rectangle left of its arrow, ending in an ellipsis where it does not
// fit.
void CheckMenuText(const ui::CMenuButton& button, const std::wstring& text,
                   const std::string& where, std::vector<Misfit>& out) {
  RECT room = button.TextRect();
  ui::ScopedGetDC dc(button.Handle());
  ui::ScopedGdi<HFONT> measuring = MeasuringFont(button.Font());
  ui::ScopedSelect font(dc, measuring);
  // Its whole line: without the ellipsis, and from the top, as centring does not change its size.
  RECT line{};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
            (ui::CMenuButton::kTextFormat & ~static_cast<UINT>(DT_END_ELLIPSIS | DT_VCENTER)) |
                DT_CALCRECT);
  line.right = line.left + MenuTextWidth(line.right - line.left);
  std::ostringstream what;
  if (line.right - line.left > room.right - room.left) {
    what << "menu button text " << line.right - line.left << " px wide, room for "
         << room.right - room.left;
  } else if (line.bottom - line.top > room.bottom - room.top) {
    what << "menu button text " << line.bottom - line.top << " px high, room for "
         << room.bottom - room.top;
  } else {
    return;
  }
  out.push_back({where, GetDlgCtrlID(button.Handle()), text, what.str()});
}

// The Buttons page's function menu buttons: the text each row shows, then every function the
// menu offers, chosen on a row as a user chooses it, which puts its name on the button. A text
// is measured once per width of room.
void CheckMenuButtons(ui::CButtonsDlg& page, FakePrompts& prompts, std::vector<Misfit>& out) {
  std::set<std::pair<LONG, std::wstring>> measured;
  auto check = [&](const ui::CMenuButton& button) {
    std::wstring text = TextOf(button.Handle());
    RECT room = button.TextRect();
    if (measured.insert({room.right - room.left, text}).second)
      CheckMenuText(button, text, "buttons", out);
  };
  int chooser = -1;
  for (int k = 0; k < ui::kButtonRows; ++k) {
    const ui::CMenuButton& button = page.MenuButton(k);
    if (!button.IsAttached() || !IsWindowVisible(button.Handle())) continue;
    check(button);
    if (chooser < 0 && IsWindowEnabled(button.Handle())) chooser = k;
  }
  if (chooser < 0) {
    out.push_back({"buttons", 0, L"", "no function menu button to choose with"});
    return;
  }
  const ui::CMenuButton& button = page.MenuButton(chooser);
  for (const FunctionName& f : FunctionNameTable) {
    if (!f.MenuCommand) continue;
    prompts.MenuAnswers = {static_cast<int>(f.MenuCommand)};
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    if (!prompts.MenuAnswers.empty()) {
      out.push_back(
          {"buttons", GetDlgCtrlID(button.Handle()), L"", "the function menu did not open"});
      return;
    }
    check(button);
  }
}

// One line per misfit: language, page, control, what is wrong, the text.
std::string Table(const std::vector<std::pair<uint32_t, Misfit>>& rows) {
  std::ostringstream out;
  out << "language | page      | control | problem | text\n";
  for (const auto& [lcid, m] : rows)
    out << lcid << (lcid < 1000 ? "        | " : "     | ") << m.Where
        << std::string(m.Where.size() < 9 ? 9 - m.Where.size() : 0, ' ') << " | " << m.ControlId
        << "    | " << m.What << " | " << Utf8(m.Text) << "\n";
  return out.str();
}

// The shipped languages: every file of data/Languages, and English (0) for the templates.
std::vector<uint32_t> Languages() {
  std::vector<uint32_t> out{0};
  for (const auto& e : fs::directory_iterator(fs::path(CORVANE_DATA_DIR) / "Languages"))
    if (e.path().extension() == ".ini") out.push_back(std::stoul(e.path().stem().string()));
  std::sort(out.begin(), out.end());
  return out;
}

class LanguageFitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
    // The demo data, so every page shows what a user sees first: functions, stages, macros.
    fs::copy(fs::path(CORVANE_DATA_DIR), folder_.Path(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }

  // The main window in a language, in demo mode so that it shows its pages: its own texts, then
  // each page, shown in turn as a click on its tab shows it. A main window costs about a second
  // under Wine, so each language gets one.
  std::vector<Misfit> Check(uint32_t lcid) {
    std::wstring ini = (folder_.Path() / L"Corvane.ini").wstring();
    WritePrivateProfileStringW(L"Application", L"LCID", std::to_wstring(lcid).c_str(), ini.c_str());
    WritePrivateProfileStringW(L"Application", L"Demo", L"1", ini.c_str());
    fakes::FakeHidPlatform hid;
    fakes::RecordingSleeper sleeper;
    FakePointer pointer;
    FakePrompts prompts;
    auto dlg = std::make_unique<ui::CCorvaneDlg>(ui::Seams{hid, sleeper, pointer, prompts});
    std::vector<Misfit> out;
    if (!dlg->CreateMain()) {
      out.push_back({"main", 0, L"", "the window was not created"});
      return out;
    }
    ShowWindow(dlg->Handle(), SW_SHOW);
    Pump();
    // The window's own texts, the notice among them: set, shown or not, whenever it shows.
    CheckChildren(dlg->Handle(), "main", out);
    static const char* const kPages[] = {"overview", "buttons", "pointer", "scrolling", "macros"};
    HWND tab = GetDlgItem(dlg->Handle(), ui::kIdTab);
    for (int i = 0; i < static_cast<int>(std::size(kPages)); ++i) {
      NMHDR n{tab, static_cast<UINT_PTR>(ui::kIdTab), static_cast<UINT>(TCN_SELCHANGING)};
      SendMessageW(dlg->Handle(), WM_NOTIFY, ui::kIdTab, reinterpret_cast<LPARAM>(&n));
      SendMessageW(tab, TCM_SETCURSEL, i, 0);
      n.code = static_cast<UINT>(TCN_SELCHANGE);
      SendMessageW(dlg->Handle(), WM_NOTIFY, ui::kIdTab, reinterpret_cast<LPARAM>(&n));
      Pump();
      ui::Page* page = dlg->VisiblePage();
      if (!page || !page->Handle() || !IsWindowVisible(page->Handle())) {
        out.push_back({kPages[i], 0, L"", "the page is not shown"});
        continue;
      }
      CheckChildren(page->Handle(), kPages[i], out);
      if (page == dlg->ButtonsPage()) CheckMenuButtons(*dlg->ButtonsPage(), prompts, out);
    }
    return out;
  }

  TempAppFolder folder_;
};

TEST_F(LanguageFitTest, EveryTextFitsItsControlInEveryLanguage) {
  std::vector<uint32_t> languages = Languages();
  ASSERT_GE(languages.size(), 11u) << "English and the ten shipped languages";
  std::vector<std::pair<uint32_t, Misfit>> rows;
  for (uint32_t lcid : languages) {
    for (Misfit& m : Check(lcid)) rows.emplace_back(lcid, std::move(m));
  }
  EXPECT_TRUE(rows.empty()) << rows.size() << " texts do not fit\n" << Table(rows);
}

// The check on a language file broken on purpose: each text too long for its control is found
// on its page, and nothing else is.
TEST_F(LanguageFitTest, FindsTheTextsOfALanguageFileThatDoNotFit) {
  struct Case {
    uint32_t StringId;
    std::string Text;
    const char* Page;
    int ControlId;
    const char* WhatHas;
  };
  const std::string wide(80, 'W');
  // The lookup holds 255 characters: wide letters, so that they need more lines than there are.
  std::string notice;
  for (int i = 0; i < 25; ++i) notice += "WWWWWWWWW ";
  notice.pop_back();  // a value's trailing blank is not part of it
  const Case cases[] = {
      {IDS_APPLY, "Übernehmen und fortfahren", "main", ui::kIdApply, "on one line"},
      {IDS_NOT_CONNECTED, notice, "main", ui::kIdNotice, "wraps to"},
      {IDS_POINTER_MOVEMENT, wide, "pointer", IDC_GROUP_MOVEMENT, "on one line"},
      {IDS_RECORDING_OPTIONS, "Aufnahmeoptionen für Makros", "macros", IDC_LABEL_RECORDING_OPTIONS,
       "on one line"},
      {IDS_RECORD_MINIMIZE, "Fenster während der Aufnahme minimieren", "macros",
       IDC_RECORD_MINIMIZE, "on one line"},
      // A function a row shows, and one the row's menu offers.
      {IDS_FN_RIGHT_CLICK, "Rechtsklick mit der rechten Maustaste", "buttons",
       IDC_MENU_RIGHT_BUTTON, "menu button text"},
      {IDS_FN_BROWSER_FAVORITES, "Favoriten des Webbrowsers anzeigen", "buttons",
       IDC_MENU_RIGHT_BUTTON, "menu button text"},
  };
  std::string file = "[Strings]\r\n";
  for (const Case& c : cases) file += std::to_string(c.StringId) + "=" + c.Text + "\r\n";
  folder_.Write(L"Languages\\9999.ini", file);
  std::vector<Misfit> found = Check(9999);
  std::vector<std::pair<uint32_t, Misfit>> rows;
  for (const Misfit& m : found) rows.emplace_back(9999, m);
  for (const Case& c : cases) {
    auto hit = std::find_if(found.begin(), found.end(), [&](const Misfit& m) {
      return m.Where == c.Page && m.ControlId == c.ControlId && Utf8(m.Text) == c.Text;
    });
    ASSERT_NE(hit, found.end()) << c.StringId << " not found\n" << Table(rows);
    EXPECT_NE(hit->What.find(c.WhatHas), std::string::npos) << c.StringId << ": " << hit->What;
  }
  EXPECT_EQ(found.size(), std::size(cases)) << Table(rows);
}

// What the check found on control 1000, a test's only control: nothing when whatHas is null,
// else one misfit whose description has whatHas.
void ExpectMisfit(const char* name, const std::vector<Misfit>& out, const char* whatHas) {
  if (!whatHas) {
    EXPECT_TRUE(out.empty()) << name << ": " << (out.empty() ? "" : out[0].What);
    return;
  }
  ASSERT_EQ(out.size(), 1u) << name;
  EXPECT_NE(out[0].What.find(whatHas), std::string::npos) << name << ": " << out[0].What;
  EXPECT_EQ(out[0].ControlId, 1000) << name;
}

// The measuring itself: texts that cannot fit are found, each in the way it fails.
TEST_F(LanguageFitTest, FindsTextsThatDoNotFit) {
  struct Case {
    const char* Name;
    const wchar_t* Class;
    DWORD Style;
    int Width, Height;
    const wchar_t* Text;
    const char* WhatHas;  // nullptr: it fits
  };
  const Case cases[] = {
      {"label that fits", L"Static", SS_LEFT, 100, 13, L"Slow", nullptr},
      {"label wider than one line", L"Static", SS_LEFT, 120, 13, L"Zeigergeschwindigkeit auswählen",
       "wraps to"},
      {"label with room to wrap", L"Static", SS_LEFT, 120, 60, L"Zeigergeschwindigkeit auswählen",
       nullptr},
      {"one long word", L"Static", SS_LEFT, 40, 60, L"Zeigergeschwindigkeit", "a word"},
      {"label on one line", L"Static", SS_LEFTNOWORDWRAP, 40, 13, L"Aufnahmeoptionen",
       "on one line"},
      {"button", L"Button", BS_PUSHBUTTON, 75, 21, L"Wiederherstellen der Standardwerte",
       "on one line"},
      {"multiline button", L"Button", BS_PUSHBUTTON | BS_MULTILINE, 75, 50,
       L"Alle Werte auf Standard setzen", nullptr},
      {"button that fits", L"Button", BS_PUSHBUTTON, 75, 21, L"OK", nullptr},
      {"check box", L"Button", BS_AUTOCHECKBOX, 60, 15, L"Vom Betriebssystem gesteuert",
       "on one line"},
      {"radio button", L"Button", BS_AUTORADIOBUTTON, 72, 15, L"Einmalig", nullptr},
      {"group box", L"Button", BS_GROUPBOX, 60, 60, L"Zeigerbewegungseinstellungen", "on one line"},
      {"Japanese", L"Static", SS_LEFT, 40, 13, L"ゲーミング マウスが接続されていません。",
       "wraps to"},
      {"list", L"ComboBox", CBS_DROPDOWNLIST, 60, 100, L"Desktop anzeigen/ausblenden", "list item"},
  };
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  HFONT font = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const Case& c : cases) {
    HWND w = CreateWindowExW(0, c.Class, c.Text, WS_CHILD | WS_VISIBLE | c.Style, 0, 0, c.Width,
                             c.Height, parent, reinterpret_cast<HMENU>(1000), nullptr, nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.Style == CBS_DROPDOWNLIST)
      SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.Text));
    std::vector<Misfit> out;
    CheckControl(w, "test", out);
    ExpectMisfit(c.Name, out, c.WhatHas);
    DestroyWindow(w);
  }
  DestroyWindow(parent);
}

// The measuring of a function menu button: its text has the room left of the arrow, in the
// button's own font.
TEST_F(LanguageFitTest, FindsMenuButtonTextsThatDoNotFit) {
  struct Case {
    const char* Name;
    int Width, Height;
    const char* WhatHas;  // nullptr: it fits
  };
  ui::MenuButtonLook look;
  ASSERT_NE(look.Arrow(), nullptr);
  const int arrow = look.ArrowSize().cx;
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  const std::wstring text = L"Wiedergabe";
  SIZE line{};
  {
    ui::ScopedGetDC dc(parent);
    ui::ScopedGdi<HFONT> measuring = MeasuringFont(look.Font());
    ui::ScopedSelect font(dc, measuring);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &line);
  }
  line.cx = MenuTextWidth(line.cx);
  // The face keeps 4 pixels clear at its edges and between the text and the arrow.
  const Case cases[] = {
      {"text with room", line.cx + 3 * 4 + arrow + 2, 23, nullptr},
      {"text that would reach under the arrow", line.cx + 2 * 4 + arrow / 2, 23, "px wide"},
      {"text wider than the button", line.cx / 2, 23, "px wide"},
      {"button lower than the text", line.cx + 3 * 4 + arrow + 2, line.cy - 4, "px high"},
  };
  for (const Case& c : cases) {
    HWND w =
        CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0,
                        c.Width, c.Height, parent, reinterpret_cast<HMENU>(1000), nullptr, nullptr);
    ui::CMenuButton button;
    ASSERT_TRUE(button.Attach(parent, 1000, look)) << c.Name;
    std::vector<Misfit> out;
    CheckMenuText(button, text, "test", out);
    ExpectMisfit(c.Name, out, c.WhatHas);
    button.Detach();
    DestroyWindow(w);
  }
  DestroyWindow(parent);
}

}  // namespace
}  // namespace corvane::uitest
