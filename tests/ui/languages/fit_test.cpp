// Every text of every page, in English and in every shipped language, measured in its control's
// font against the control's real size: nothing may be cut off, or wrap where the control has no
// room for a second line. The templates are fixed; a translation that does not fit is reworded.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/fake_hid_platform.h"
#include "storage/strings.h"
#include "storage/text_encoding.h"
#include "ui/framework/scoped.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
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
      case SS_LEFT: case SS_CENTER: case SS_RIGHT:
        room.Wraps = true;
        return true;
      case SS_LEFTNOWORDWRAP: case SS_SIMPLE:
        return true;
      default:
        return false;  // icons, pictures, frames, owner-drawn
    }
  }
  if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    int edge = GetSystemMetrics(SM_CXEDGE);
    switch (style & BS_TYPEMASK) {
      case BS_GROUPBOX:
        room.Width -= 2 * (GetSystemMetrics(SM_CXMENUCHECK) / 2 + edge);
        room.Height = Measure(w, L"Ag", 0, 0).cy;
        return true;
      case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
      case BS_3STATE: case BS_AUTO3STATE:
        room.Width -= GetSystemMetrics(SM_CXMENUCHECK) + 2 * edge;
        room.Wraps = (style & BS_MULTILINE) != 0;
        return true;
      case BS_OWNERDRAW: case BS_USERBUTTON:
        return false;
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
    item.resize(static_cast<size_t>(SendMessageW(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    SIZE line = Measure(w, item, 0, DT_NOPREFIX);
    if (line.cx > room)
      out.push_back({where, GetDlgCtrlID(w), item,
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
  const Case cases[] = {
      {IDS_APPLY, "Übernehmen und fortfahren", "main", ui::kIdApply, "on one line"},
      {IDS_NOT_CONNECTED, notice, "main", ui::kIdNotice, "wraps to"},
      {IDS_POINTER_MOVEMENT, wide, "pointer", IDC_GROUP_MOVEMENT, "on one line"},
      {IDS_RECORDING_OPTIONS, "Aufnahmeoptionen für Makros", "macros",
       IDC_LABEL_RECORDING_OPTIONS, "on one line"},
      {IDS_RECORD_MINIMIZE, "Fenster während der Aufnahme minimieren", "macros",
       IDC_RECORD_MINIMIZE, "on one line"},
  };
  std::string file = "[Strings]\r\n";
  for (const Case& c : cases) file += std::to_string(c.StringId) + "=" + c.Text + "\r\n";
  folder_.Write(L"Languages\\9999.ini", file);
  std::vector<Misfit> found = Check(9999);
  std::vector<std::pair<uint32_t, Misfit>> rows;
  for (const Misfit& m : found) rows.emplace_back(9999, m);
  for (const Case& c : cases) {
    auto hit = std::find_if(found.begin(), found.end(), [&](const Misfit& m) {
      return m.Where == c.Page && m.ControlId == c.ControlId;
    });
    ASSERT_NE(hit, found.end()) << c.StringId << " not found\n" << Table(rows);
    EXPECT_NE(hit->What.find(c.WhatHas), std::string::npos) << c.StringId << ": " << hit->What;
  }
  EXPECT_EQ(found.size(), std::size(cases)) << Table(rows);
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
      {"label wider than one line", L"Static", SS_LEFT, 120, 13, L"Zeigergeschwindigkeit auswählen", "wraps to"},
      {"label with room to wrap", L"Static", SS_LEFT, 120, 60, L"Zeigergeschwindigkeit auswählen", nullptr},
      {"one long word", L"Static", SS_LEFT, 40, 60, L"Zeigergeschwindigkeit", "a word"},
      {"label on one line", L"Static", SS_LEFTNOWORDWRAP, 40, 13, L"Aufnahmeoptionen", "on one line"},
      {"button", L"Button", BS_PUSHBUTTON, 75, 21, L"Wiederherstellen der Standardwerte", "on one line"},
      {"multiline button", L"Button", BS_PUSHBUTTON | BS_MULTILINE, 75, 50, L"Alle Werte auf Standard setzen", nullptr},
      {"button that fits", L"Button", BS_PUSHBUTTON, 75, 21, L"OK", nullptr},
      {"check box", L"Button", BS_AUTOCHECKBOX, 60, 15, L"Vom Betriebssystem gesteuert", "on one line"},
      {"radio button", L"Button", BS_AUTORADIOBUTTON, 72, 15, L"Einmalig", nullptr},
      {"group box", L"Button", BS_GROUPBOX, 60, 60, L"Zeigerbewegungseinstellungen", "on one line"},
      {"Japanese", L"Static", SS_LEFT, 40, 13, L"ゲーミング マウスが接続されていません。", "wraps to"},
      {"list", L"ComboBox", CBS_DROPDOWNLIST, 60, 100, L"Desktop anzeigen/ausblenden", "list item"},
  };
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  HFONT font = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const Case& c : cases) {
    HWND w = CreateWindowExW(0, c.Class, c.Text, WS_CHILD | WS_VISIBLE | c.Style, 0, 0, c.Width,
                             c.Height, parent, reinterpret_cast<HMENU>(1000), nullptr, nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.Style == CBS_DROPDOWNLIST) SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.Text));
    std::vector<Misfit> out;
    CheckControl(w, "test", out);
    if (!c.WhatHas) {
      EXPECT_TRUE(out.empty()) << c.Name << ": " << (out.empty() ? "" : out[0].What);
    } else {
      ASSERT_EQ(out.size(), 1u) << c.Name;
      EXPECT_NE(out[0].What.find(c.WhatHas), std::string::npos) << c.Name << ": " << out[0].What;
      EXPECT_EQ(out[0].ControlId, 1000) << c.Name;
    }
    DestroyWindow(w);
  }
  DestroyWindow(parent);
}

}  // namespace
}  // namespace corvane::uitest
