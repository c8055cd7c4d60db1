// The resources linked into the program: every dialog template is read back from the module
// (geometry and styles in dialog units, exactly as laid out) and created for real; menus, icons,
// the arrow bitmap, the string table, the version block and the manifest load as the program
// expects them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "corvane_version.h"
#include "resources/resource.h"

namespace {

HMODULE Self() { return GetModuleHandleW(nullptr); }

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

// ---- Reading a DIALOGEX template ----------------------------------------------------------------

struct Item {
  DWORD style = 0, exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  std::wstring cls;    // predefined classes are given by name ("button", "static", ...)
  std::wstring title;  // an ordinal title (an icon's resource) reads "#<n>"
};

struct Template {
  DWORD style = 0, exStyle = 0;
  short cx = 0, cy = 0;
  std::wstring title, font;
  WORD pointSize = 0;
  std::vector<Item> items;
  const Item* Find(int id) const {
    for (const auto& i : items)
      if (i.id == id) return &i;
    return nullptr;
  }
};

class Reader {
 public:
  Reader(const BYTE* p, size_t size) : base_(p), p_(p), end_(p + size) {}
  template <typename T>
  T Get() {
    T v{};
    if (p_ + sizeof(T) <= end_) std::memcpy(&v, p_, sizeof(T));
    p_ += sizeof(T);
    return v;
  }
  std::wstring SzOrOrd(bool classOrdinals) {
    WORD first = Get<WORD>();
    if (first == 0xFFFF) {
      WORD ord = Get<WORD>();
      if (classOrdinals) {
        switch (ord) {
          case 0x80: return L"button";
          case 0x81: return L"edit";
          case 0x82: return L"static";
          case 0x83: return L"listbox";
          case 0x84: return L"scrollbar";
          case 0x85: return L"combobox";
        }
      }
      return L"#" + std::to_wstring(ord);
    }
    std::wstring s;
    for (WORD c = first; c != 0 && p_ < end_; c = Get<WORD>()) s += static_cast<wchar_t>(c);
    return s;
  }
  void AlignDword() {
    while ((p_ - base_) % 4) ++p_;
  }
  bool Ok() const { return p_ <= end_; }

 private:
  const BYTE* base_;
  const BYTE* p_;
  const BYTE* end_;
};

std::vector<BYTE> ResourceBytes(int id, LPCWSTR type) {
  HRSRC r = FindResourceW(Self(), MAKEINTRESOURCEW(id), type);
  if (!r) return {};
  HGLOBAL g = LoadResource(Self(), r);
  auto* p = static_cast<const BYTE*>(LockResource(g));
  return std::vector<BYTE>(p, p + SizeofResource(Self(), r));
}

bool ReadTemplate(int id, Template& t) {
  std::vector<BYTE> bytes = ResourceBytes(id, RT_DIALOG);
  if (bytes.size() < 26) return false;
  Reader r(bytes.data(), bytes.size());
  if (r.Get<WORD>() != 1 || r.Get<WORD>() != 0xFFFF) return false;  // DIALOGEX only
  r.Get<DWORD>();                                                   // help id
  t.exStyle = r.Get<DWORD>();
  t.style = r.Get<DWORD>();
  WORD count = r.Get<WORD>();
  r.Get<short>();
  r.Get<short>();
  t.cx = r.Get<short>();
  t.cy = r.Get<short>();
  r.SzOrOrd(false);  // menu
  r.SzOrOrd(false);  // class
  t.title = r.SzOrOrd(false);
  if (t.style & DS_SETFONT) {
    t.pointSize = r.Get<WORD>();
    r.Get<WORD>();
    r.Get<BYTE>();
    r.Get<BYTE>();
    t.font = r.SzOrOrd(false);
  }
  for (WORD i = 0; i < count; ++i) {
    r.AlignDword();
    Item it;
    r.Get<DWORD>();  // help id
    it.exStyle = r.Get<DWORD>();
    it.style = r.Get<DWORD>();
    it.x = r.Get<short>();
    it.y = r.Get<short>();
    it.cx = r.Get<short>();
    it.cy = r.Get<short>();
    it.id = static_cast<int>(r.Get<DWORD>());
    it.cls = Lower(r.SzOrOrd(true));
    it.title = r.SzOrOrd(false);
    WORD extra = r.Get<WORD>();
    for (WORD k = 0; k < extra; ++k) r.Get<BYTE>();
    t.items.push_back(it);
  }
  return r.Ok();
}

// ---- What the templates must hold --------------------------------------------------------------

enum class Kind {
  Label,
  OneLineLabel,
  RightLabel,
  CenterLabel,
  Group,
  Push,
  DefPush,
  Check,
  Radio,
  DropList,
  Edit,
  NumberEdit,
  ListView,
  Trackbar,
  Tab,
  Icon,
  Picture,
  MenuButton,
  Progress
};

// Window class as the template names it, and as GetClassNameW reports it.
const wchar_t* ClassOf(Kind k) {
  switch (k) {
    case Kind::Label:
    case Kind::OneLineLabel:
    case Kind::RightLabel:
    case Kind::CenterLabel:
    case Kind::Icon:
    case Kind::Picture: return L"static";
    case Kind::Group:
    case Kind::Push:
    case Kind::DefPush:
    case Kind::Check:
    case Kind::Radio:
    case Kind::MenuButton: return L"button";
    case Kind::DropList: return L"combobox";
    case Kind::Edit:
    case Kind::NumberEdit: return L"edit";
    case Kind::ListView: return L"syslistview32";
    case Kind::Trackbar: return L"msctls_trackbar32";
    case Kind::Tab: return L"systabcontrol32";
    case Kind::Progress: return L"msctls_progress32";
  }
  return L"";
}

// The style bits that make the kind; returns an empty string when the item matches.
std::string StyleProblem(Kind k, const Item& it) {
  DWORD s = it.style;
  auto need = [&](bool ok, const char* what) { return ok ? std::string() : std::string(what); };
  switch (k) {
    case Kind::Label: return need((s & SS_TYPEMASK) == SS_LEFT, "SS_LEFT");
    case Kind::OneLineLabel:
      return need((s & SS_TYPEMASK) == SS_LEFTNOWORDWRAP, "SS_LEFTNOWORDWRAP");
    case Kind::RightLabel: return need((s & SS_TYPEMASK) == SS_RIGHT, "SS_RIGHT");
    case Kind::CenterLabel: return need((s & SS_TYPEMASK) == SS_CENTER, "SS_CENTER");
    case Kind::Icon: return need((s & SS_TYPEMASK) == SS_ICON, "SS_ICON");
    case Kind::Picture:
      return need((s & SS_TYPEMASK) == SS_OWNERDRAW && (s & WS_BORDER), "SS_OWNERDRAW|WS_BORDER");
    case Kind::Group: return need((s & BS_TYPEMASK) == BS_GROUPBOX, "BS_GROUPBOX");
    case Kind::Push: return need((s & BS_TYPEMASK) == BS_PUSHBUTTON, "BS_PUSHBUTTON");
    case Kind::DefPush: return need((s & BS_TYPEMASK) == BS_DEFPUSHBUTTON, "BS_DEFPUSHBUTTON");
    case Kind::Check: return need((s & BS_TYPEMASK) == BS_AUTOCHECKBOX, "BS_AUTOCHECKBOX");
    case Kind::Radio: return need((s & BS_TYPEMASK) == BS_AUTORADIOBUTTON, "BS_AUTORADIOBUTTON");
    case Kind::MenuButton:
      return need((s & BS_TYPEMASK) == BS_PUSHBUTTON && (s & BS_FLAT) && (s & BS_LEFT),
                  "flat left-aligned push button");
    case Kind::DropList:
      return need((s & 3) == CBS_DROPDOWNLIST && !(s & CBS_SORT), "unsorted CBS_DROPDOWNLIST");
    case Kind::Edit: return std::string();
    case Kind::NumberEdit: return need((s & ES_NUMBER) && (s & ES_RIGHT), "ES_NUMBER|ES_RIGHT");
    case Kind::ListView:
      return need((s & LVS_TYPEMASK) == LVS_REPORT && (s & LVS_SINGLESEL) &&
                      (s & LVS_SHOWSELALWAYS) && (s & LVS_EDITLABELS) && (s & WS_BORDER) &&
                      (it.exStyle & WS_EX_CLIENTEDGE),
                  "framed sunken single-selection report view with label editing");
    case Kind::Trackbar:
      return need((s & TBS_AUTOTICKS) && (s & TBS_TOOLTIPS) && !(s & TBS_VERT),
                  "horizontal TBS_AUTOTICKS|TBS_TOOLTIPS");
    case Kind::Tab: return std::string();
    case Kind::Progress: return need(!(s & PBS_VERTICAL), "horizontal");
  }
  return "unknown kind";
}

bool HasText(Kind k) {
  return k != Kind::DropList && k != Kind::Edit && k != Kind::NumberEdit && k != Kind::ListView &&
         k != Kind::Trackbar && k != Kind::Tab && k != Kind::Icon && k != Kind::Picture &&
         k != Kind::Progress;
}

enum Flags { kVisible = 0, kHidden = 1, kDisabled = 2 };

struct Expected {
  int id;
  Kind kind;
  const wchar_t* text;  // nullptr: not checked (set at run time)
  short x, y, cx, cy;   // cx == 0: the layout is free, only the kind and text are fixed
  int flags = kVisible;
};

struct Page {
  int id;
  short cx, cy;
  const wchar_t* caption;  // nullptr for the child pages
  std::vector<Expected> controls;
  std::vector<std::pair<Kind, const wchar_t*>> unnamed;  // id-less statics, in template order
};

using K = Kind;

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      {IDD_ABOUTBOX,
       170,
       62,
       L"About Corvane",
       {{IDOK, K::DefPush, L"OK", 113, 41, 50, 14}},
       {{K::Icon, L"#128"}, {K::Label, L"Corvane"}, {K::Label, L"Version " CORVANE_VERSION}}},
      {IDD_CORVANE_DIALOG,
       382,
       276,
       L"Corvane",
       {{IDC_TAB, K::Tab, nullptr, 6, 6, 372, 240},
        {IDC_NOTICE_ICON, K::Icon, nullptr, 18, 18, 20, 20},
        {IDC_NOTICE, K::Label, L"Hardware device is not connected.", 60, 18, 228, 46},
        {IDC_UPLOAD_PROGRESS, K::Progress, nullptr, 6, 254, 132, 10, kHidden},
        {ID_HELP, K::Push, L"&Help", 144, 252, 50, 14},
        {IDOK, K::DefPush, L"&OK", 204, 252, 50, 14},
        {IDCANCEL, K::Push, L"&Cancel", 264, 252, 50, 14},
        {ID_APPLY_NOW, K::Push, L"&Apply", 324, 252, 50, 14}},
       {}},
      {IDD_OVERVIEW,
       367,
       229,
       nullptr,
       {{1001, K::Group, L"Buttons", 6, 6, 354, 96},
        {1002, K::RightLabel, L"Left Button:", 18, 18, 66, 8},
        {1003, K::RightLabel, L"Right Button:", 18, 30, 66, 8},
        {1004, K::RightLabel, L"Middle Button:", 18, 42, 66, 8},
        {1005, K::RightLabel, L"Forward Button:", 18, 54, 66, 8},
        {1006, K::RightLabel, L"Backward Button:", 18, 66, 66, 8},
        {1007, K::RightLabel, L"General Button 1:", 18, 78, 66, 8},
        {1008, K::RightLabel, L"General Button 2:", 18, 90, 66, 8},
        {1010, K::Label, L"Left-click", 96, 18, 90, 8},
        {1011, K::Label, L"Right-click", 96, 30, 90, 8},
        {1012, K::Label, L"Middle-click", 96, 42, 90, 8},
        {1013, K::Label, L"Forward", 96, 54, 90, 8},
        {1014, K::Label, L"Backward", 96, 66, 90, 8},
        {1015, K::Label, L"Increase DPI", 96, 78, 90, 8},
        {1016, K::Label, L"Decrease DPI", 96, 90, 90, 8},
        {1034, K::Push, L"Modify", 306, 84, 50, 14},
        {1018, K::Group, L"Pointer", 6, 108, 354, 72},
        {1019, K::RightLabel, L"X DPI Sensitivity:", 18, 120, 66, 8},
        {1024, K::Label, L"1: 400  2: 800  3: 1600  4: 3200", 96, 120, 138, 8},
        {1020, K::RightLabel, L"Y DPI Sensitivity:", 18, 132, 66, 8},
        {1025, K::Label, L"1: 400  2: 800  3: 1600  4: 3200", 96, 132, 138, 8},
        {1021, K::RightLabel, L"Speed:", 18, 144, 66, 8},
        {1026, K::Label, L"OS", 96, 144, 138, 8},
        {1022, K::RightLabel, L"Acceleration:", 18, 156, 66, 8},
        {1027, K::Label, L"OS", 96, 156, 138, 8},
        {1023, K::RightLabel, L"Report Rate:", 18, 168, 66, 8},
        {1028, K::Label, L"OS", 96, 168, 138, 8},
        {1035, K::Push, L"Modify", 306, 162, 50, 14},
        {1029, K::Group, L"Scrolling", 6, 186, 354, 36},
        {1030, K::RightLabel, L"Horizontal Speed:", 18, 198, 66, 8},
        {1032, K::Label, L"OS", 96, 198, 24, 8},
        {1031, K::RightLabel, L"Vertical Speed:", 18, 210, 66, 8},
        {1033, K::Label, L"OS", 96, 210, 24, 8},
        {1036, K::Push, L"Modify", 306, 204, 50, 14}},
       {}},
      {IDD_BUTTONS,
       367,
       229,
       nullptr,
       {{1002, K::Label, L"Left Button:", 6, 18, 60, 8},
        {1003, K::Label, L"Right Button:", 6, 38, 60, 8},
        {1004, K::Label, L"Middle Button:", 6, 58, 60, 8},
        {1005, K::Label, L"Forward Button:", 6, 78, 60, 8},
        {1006, K::Label, L"Backward Button:", 6, 98, 60, 8},
        {1007, K::Label, L"General Button 1:", 6, 118, 60, 8, kHidden},
        {1008, K::Label, L"General Button 2:", 6, 138, 66, 8, kHidden},
        {1009, K::Label, L"General Button 3:", 6, 158, 66, 8, kHidden},
        {1037, K::DropList, nullptr, 72, 16, 128, 30, kHidden | kDisabled},
        {1038, K::DropList, nullptr, 72, 36, 128, 30, kHidden},
        {1039, K::DropList, nullptr, 72, 56, 128, 30, kHidden},
        {1040, K::DropList, nullptr, 72, 76, 128, 30, kHidden},
        {1041, K::DropList, nullptr, 72, 96, 128, 30, kHidden},
        {1042, K::DropList, nullptr, 72, 116, 128, 30, kHidden},
        {1043, K::DropList, nullptr, 72, 136, 128, 30, kHidden},
        {1044, K::DropList, nullptr, 72, 156, 128, 30, kHidden},
        {1103, K::MenuButton, nullptr, 72, 16, 128, 14, kDisabled},
        {1104, K::MenuButton, nullptr, 72, 36, 128, 14},
        {1105, K::MenuButton, nullptr, 72, 56, 128, 14},
        {1106, K::MenuButton, nullptr, 72, 76, 128, 14},
        {1107, K::MenuButton, nullptr, 72, 96, 128, 14},
        {1108, K::MenuButton, nullptr, 72, 116, 128, 14, kHidden},
        {1109, K::MenuButton, nullptr, 72, 136, 128, 14, kHidden},
        {1110, K::MenuButton, nullptr, 72, 156, 128, 14, kHidden},
        {1045, K::Picture, nullptr, 210, 16, 150, 156},
        {1046, K::DefPush, L"Restore Defaults", 286, 178, 74, 14},
        {1047, K::Label, L"Hot Key:", 6, 158, 60, 8},
        {1048, K::Edit, nullptr, 72, 156, 120, 14},
        {1049, K::Label, L"Macro:", 6, 180, 60, 8},
        {1050, K::DropList, nullptr, 72, 178, 120, 30},
        {1051, K::Push, L"Edit", 198, 178, 50, 14},
        {1052, K::Label, L"Execution Mode:", 6, 198, 72, 8},
        {1053, K::Radio, L"Auto", 80, 198, 48, 10},
        {1054, K::Radio, L"Manual", 134, 198, 48, 10},
        {1055, K::Radio, L"One-shot", 188, 198, 48, 10},
        {1056, K::Label, L"Execution Interval:", 6, 212, 72, 8},
        {1057, K::NumberEdit, nullptr, 78, 210, 40, 14},
        {1058, K::Label, L"ms", 120, 212, 10, 8}},
       {}},
      {IDD_POINTER,
       367,
       229,
       nullptr,
       {{1059, K::Group, L"DPI Sensitivity", 0, 0, 0, 0},
        {1060, K::DropList, nullptr, 0, 0, 0, 0},
        {1061, K::DropList, nullptr, 0, 0, 0, 0},
        {1062, K::DropList, nullptr, 0, 0, 0, 0},
        {1063, K::DropList, nullptr, 0, 0, 0, 0},
        {1064, K::DropList, nullptr, 0, 0, 0, 0, kHidden},
        {1065, K::DropList, nullptr, 0, 0, 0, 0},
        {1066, K::DropList, nullptr, 0, 0, 0, 0},
        {1067, K::DropList, nullptr, 0, 0, 0, 0},
        {1068, K::DropList, nullptr, 0, 0, 0, 0},
        {1069, K::DropList, nullptr, 0, 0, 0, 0, kHidden},
        {1070, K::Check, L"X = Y", 0, 0, 0, 0},
        {1071, K::Group, L"Pointer Movement Settings", 0, 0, 0, 0},
        {1021, K::Label, L"Speed:", 0, 0, 0, 0},
        {1022, K::Label, L"Acceleration:", 0, 0, 0, 0},
        {1074, K::Trackbar, nullptr, 0, 0, 0, 0},
        {1077, K::Trackbar, nullptr, 0, 0, 0, 0},
        {1072, K::RightLabel, L"Slow", 0, 0, 0, 0},
        {1073, K::Label, L"Fast", 0, 0, 0, 0},
        {1075, K::RightLabel, L"Slow", 0, 0, 0, 0},
        {1076, K::Label, L"Fast", 0, 0, 0, 0},
        {1078, K::Check, L"Controlled by OS", 0, 0, 0, 0},
        {1079, K::Push, L"Control Panel...", 0, 0, 0, 0},
        {1023, K::Group, L"Report Rate", 0, 0, 0, 0},
        {1080, K::DropList, nullptr, 0, 0, 0, 0}},
       {}},
      {IDD_SCROLLING,
       367,
       229,
       nullptr,
       {{1030, K::Label, L"Horizontal Speed:", 0, 0, 0, 0},
        {1081, K::Trackbar, nullptr, 0, 0, 0, 0},
        {1031, K::Label, L"Vertical Speed:", 0, 0, 0, 0},
        {1082, K::Trackbar, nullptr, 0, 0, 0, 0},
        {1072, K::RightLabel, L"Slow", 0, 0, 0, 0},
        {1073, K::Label, L"Fast", 0, 0, 0, 0},
        {1075, K::RightLabel, L"Slow", 0, 0, 0, 0},
        {1076, K::Label, L"Fast", 0, 0, 0, 0},
        {1078, K::Check, L"Controlled by OS", 0, 0, 0, 0},
        {1079, K::Push, L"Control Panel...", 0, 0, 0, 0}},
       {{K::CenterLabel, L"1"},
        {K::CenterLabel, L"10"},
        {K::CenterLabel, L"1"},
        {K::CenterLabel, L"10"}}},
      {IDD_MACROS,
       367,
       229,
       nullptr,
       {{1083, K::ListView, nullptr, 6, 6, 132, 180},
        {1084, K::ListView, nullptr, 138, 6, 132, 180},
        {1085, K::OneLineLabel, L"Recording Options:", 276, 6, 62, 8},
        {1086, K::Check, L"Mouse", 284, 24, 76, 10},
        {1087, K::Check, L"Keyboard", 284, 42, 76, 10},
        {1088, K::Check, L"Delay Time", 284, 60, 76, 10},
        {1089, K::Check, L"Minimize", 284, 78, 76, 10},
        {1090, K::Check, L"Start/Stop Hotkey", 284, 96, 76, 10},
        {1091, K::DropList, nullptr, 294, 114, 66, 30},
        {1092, K::Push, L"New", 6, 192, 50, 14},
        {1093, K::Push, L"Delete", 6, 210, 50, 14},
        {1095, K::Push, L"Rename", 60, 192, 50, 14},
        {1096, K::Push, L"Save", 60, 210, 50, 14},
        {1097, K::Push, L"Import...", 114, 192, 50, 14},
        {1098, K::Push, L"Export...", 114, 210, 50, 14},
        {1099, K::Push, L"Start Recording", 276, 210, 84, 14}},
       {}},
  };
  return pages;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

class DialogTemplates : public ::testing::TestWithParam<size_t> {};

TEST_P(DialogTemplates, HoldTheControlsOfTheirTable) {
  const Page& page = Pages()[GetParam()];
  Template t;
  ASSERT_TRUE(ReadTemplate(page.id, t)) << "template " << page.id;
  EXPECT_EQ(t.cx, page.cx);
  EXPECT_EQ(t.cy, page.cy);
  EXPECT_EQ(t.font, L"MS Shell Dlg");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.style & DS_SHELLFONT, static_cast<DWORD>(DS_SHELLFONT));
  EXPECT_FALSE(t.style & WS_VISIBLE) << "windows are created hidden";
  if (page.caption) {
    EXPECT_EQ(t.title, page.caption);
    EXPECT_TRUE(t.style & WS_POPUP);
    EXPECT_TRUE(t.style & WS_SYSMENU);
  } else {
    EXPECT_TRUE(t.style & WS_CHILD);
    EXPECT_TRUE(t.style & DS_CONTROL);
  }

  for (const Expected& e : page.controls) {
    SCOPED_TRACE("control " + std::to_string(e.id));
    const Item* it = t.Find(e.id);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->cls, ClassOf(e.kind));
    EXPECT_EQ(StyleProblem(e.kind, *it), "");
    if (e.text) {
      EXPECT_EQ(it->title, e.text);
    }
    if (e.cx) {
      EXPECT_EQ(it->x, e.x);
      EXPECT_EQ(it->y, e.y);
      EXPECT_EQ(it->cx, e.cx);
      EXPECT_EQ(it->cy, e.cy);
    }
    EXPECT_EQ(!(it->style & WS_VISIBLE), (e.flags & kHidden) != 0);
    EXPECT_EQ((it->style & WS_DISABLED) != 0, (e.flags & kDisabled) != 0);
  }

  // Nothing beyond the table, except id-less static texts, which come in template order.
  size_t k = 0;
  for (const Item& it : t.items) {
    if (it.id != IDC_STATIC) {
      bool listed = std::any_of(page.controls.begin(), page.controls.end(),
                                [&](const Expected& e) { return e.id == it.id; });
      EXPECT_TRUE(listed) << "unexpected control " << it.id;
      continue;
    }
    ASSERT_LT(k, page.unnamed.size()) << "unexpected id-less control " << Narrow(it.title);
    EXPECT_EQ(it.title, page.unnamed[k].second);
    EXPECT_EQ(it.cls, ClassOf(page.unnamed[k].first));
    EXPECT_EQ(StyleProblem(page.unnamed[k].first, it), "") << Narrow(it.title);
    ++k;
  }
  EXPECT_EQ(k, page.unnamed.size());

  // Every control lies inside the window. A drop-down list's height is its dropped height.
  for (const Item& it : t.items) {
    EXPECT_GE(it.x, 0);
    EXPECT_GE(it.y, 0);
    EXPECT_LE(it.x + it.cx, t.cx) << "control " << it.id;
    if (it.cls != L"combobox") {
      EXPECT_LE(it.y + it.cy, t.cy) << "control " << it.id;
    }
  }
}

// The pages without fixed positions (and the others) must not stack controls on each other.
// The Buttons page shares places on purpose (selectors, detail groups); group boxes and the
// tab control hold others.
TEST_P(DialogTemplates, DoNotOverlapControls) {
  const Page& page = Pages()[GetParam()];
  if (page.id == IDD_BUTTONS) GTEST_SKIP() << "places shared by design";
  Template t;
  ASSERT_TRUE(ReadTemplate(page.id, t));
  auto container = [](const Item& it) {
    return (it.cls == L"button" && (it.style & BS_TYPEMASK) == BS_GROUPBOX) ||
           it.cls == L"systabcontrol32";
  };
  for (size_t a = 0; a < t.items.size(); ++a) {
    for (size_t b = a + 1; b < t.items.size(); ++b) {
      const Item& p = t.items[a];
      const Item& q = t.items[b];
      if (container(p) || container(q)) continue;
      short ph = p.cls == L"combobox" ? 12 : p.cy;  // closed height of a drop-down list
      short qh = q.cls == L"combobox" ? 12 : q.cy;
      bool apart = p.x + p.cx <= q.x || q.x + q.cx <= p.x || p.y + ph <= q.y || q.y + qh <= p.y;
      EXPECT_TRUE(apart) << "controls " << p.id << " '" << Narrow(p.title) << "' and " << q.id
                         << " '" << Narrow(q.title) << "' overlap";
    }
  }
  // Every control of a group box lies inside it or outside it, never across its frame.
  for (const Item& g : t.items) {
    if (!container(g) || g.cls == L"systabcontrol32") continue;
    for (const Item& it : t.items) {
      if (&it == &g) continue;
      short h = it.cls == L"combobox" ? 12 : it.cy;
      bool inside =
          it.x >= g.x && it.y >= g.y + 8 && it.x + it.cx <= g.x + g.cx && it.y + h <= g.y + g.cy;
      bool outside =
          it.x + it.cx <= g.x || g.x + g.cx <= it.x || it.y + h <= g.y || g.y + g.cy <= it.y;
      EXPECT_TRUE(inside || outside) << "control " << it.id << " crosses group " << g.id;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(All, DialogTemplates, ::testing::Range<size_t>(0, 7));

// ---- Creating the dialogs for real ------------------------------------------------------------

INT_PTR CALLBACK QuietProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

class Dialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
  }
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"Static", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                              nullptr, Self(), nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override { DestroyWindow(parent_); }
  HWND parent_ = nullptr;
};

std::wstring ClassName(HWND w) {
  wchar_t buf[128] = {};
  GetClassNameW(w, buf, 128);
  std::wstring s = Lower(buf);
  size_t bang = s.rfind(L'!');  // versioned classes of the side-by-side controls
  return bang == std::wstring::npos ? s : s.substr(bang + 1);
}

std::wstring Text(HWND w) {
  wchar_t buf[256] = {};
  GetWindowTextW(w, buf, 256);
  return buf;
}

TEST_F(Dialogs, CreateWithEveryControlOfTheirTable) {
  for (const Page& page : Pages()) {
    SCOPED_TRACE("dialog " + std::to_string(page.id));
    HWND dlg = CreateDialogParamW(Self(), MAKEINTRESOURCEW(page.id), parent_, QuietProc, 0);
    ASSERT_NE(dlg, nullptr) << GetLastError();
    EXPECT_FALSE(IsWindowVisible(dlg));
    if (page.caption) {
      EXPECT_EQ(Text(dlg), page.caption);
    }
    for (const Expected& e : page.controls) {
      SCOPED_TRACE("control " + std::to_string(e.id));
      HWND c = GetDlgItem(dlg, e.id);
      ASSERT_NE(c, nullptr);
      EXPECT_EQ(ClassName(c), ClassOf(e.kind));
      if (e.text && HasText(e.kind)) {
        EXPECT_EQ(Text(c), e.text);
      }
      LONG style = GetWindowLongW(c, GWL_STYLE);
      EXPECT_EQ((style & WS_VISIBLE) == 0, (e.flags & kHidden) != 0);
      EXPECT_EQ(IsWindowEnabled(c) == FALSE, (e.flags & kDisabled) != 0);
      if (e.cx && e.kind != Kind::DropList && e.kind != Kind::Icon) {
        // The dialog manager places children at the dialog-unit rectangle.
        RECT want{e.x, e.y, e.x + e.cx, e.y + e.cy};
        MapDialogRect(dlg, &want);
        RECT got{};
        GetWindowRect(c, &got);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_NEAR(got.left, want.left, 1);
        EXPECT_NEAR(got.top, want.top, 1);
        EXPECT_NEAR(got.right, want.right, 1);
        EXPECT_NEAR(got.bottom, want.bottom, 1);
      }
    }
    DestroyWindow(dlg);
  }
}

TEST_F(Dialogs, AboutBoxShowsTheProgramIcon) {
  HWND dlg = CreateDialogParamW(Self(), MAKEINTRESOURCEW(IDD_ABOUTBOX), parent_, QuietProc, 0);
  ASSERT_NE(dlg, nullptr);
  HWND icon = nullptr;
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = c;
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)), nullptr);
  DestroyWindow(dlg);
}

// ---- Menus ------------------------------------------------------------------------------------

struct MenuEntry {
  UINT id;
  const wchar_t* text;
};

void ExpectCommands(HMENU m, const std::vector<MenuEntry>& want) {
  ASSERT_NE(m, nullptr);
  ASSERT_EQ(GetMenuItemCount(m), static_cast<int>(want.size()));
  for (size_t i = 0; i < want.size(); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(m, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    EXPECT_EQ(GetMenuItemID(m, static_cast<int>(i)), want[i].id) << "item " << i;
    EXPECT_STREQ(text, want[i].text) << "item " << i;
  }
}

TEST(Menus, ContextMenusHoldTheirCommands) {
  HMENU macros = LoadMenuW(Self(), MAKEINTRESOURCEW(IDR_MACRO_LIST_MENU));
  ASSERT_NE(macros, nullptr);
  ExpectCommands(GetSubMenu(macros, 0), {{32771, L"New"},
                                         {32772, L"Delete"},
                                         {32773, L"Rename"},
                                         {32774, L"Save"},
                                         {32775, L"Import..."},
                                         {32776, L"Export..."}});
  DestroyMenu(macros);

  HMENU events = LoadMenuW(Self(), MAKEINTRESOURCEW(IDR_EVENT_LIST_MENU));
  ASSERT_NE(events, nullptr);
  ExpectCommands(GetSubMenu(events, 0), {{32777, L"Record Before"},
                                         {32778, L"Record After"},
                                         {32779, L"Insert Delay"},
                                         {32780, L"Edit"},
                                         {32781, L"Delete"}});
  DestroyMenu(events);
}

TEST(Menus, FunctionMenuHoldsSixPopupsInTableOrder) {
  HMENU menu = LoadMenuW(Self(), MAKEINTRESOURCEW(IDR_FUNCTION_MENU));
  ASSERT_NE(menu, nullptr);
  HMENU outer = GetSubMenu(menu, 0);
  ASSERT_NE(outer, nullptr);
  const wchar_t* popups[] = {L"Mouse", L"Keyboard", L"Office", L"System", L"Multimedia", L"Macro"};
  ASSERT_EQ(GetMenuItemCount(outer), 6);
  for (int i = 0; i < 6; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(outer, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, popups[i]);
    EXPECT_NE(GetSubMenu(outer, i), nullptr);
  }
  ExpectCommands(GetSubMenu(outer, 0), {{32792, L"Left-click"},
                                        {32793, L"Right-click"},
                                        {32794, L"Middle-click"},
                                        {32795, L"Backward"},
                                        {32796, L"Forward"},
                                        {32797, L"Scroll Left"},
                                        {32798, L"Scroll Right"},
                                        {32799, L"Left Double-click"},
                                        {32800, L"Left Triple-click"},
                                        {32801, L"Increase DPI"},
                                        {32802, L"Decrease DPI"},
                                        {32803, L"Cycling DPI"}});
  ExpectCommands(GetSubMenu(outer, 1), {{32804, L"Hotkey..."}});
  ExpectCommands(GetSubMenu(outer, 2), {{32805, L"Show/Hide Desktop"},
                                        {32811, L"Close"},
                                        {32812, L"Zoom In"},
                                        {32813, L"Zoom Out"}});
  ExpectCommands(GetSubMenu(outer, 3), {{32814, L"My Computer"},
                                        {32815, L"Calculator"},
                                        {32816, L"Send Mail"},
                                        {32817, L"Browser Home"},
                                        {32818, L"Browser Search"},
                                        {32819, L"Browser Favorites"},
                                        {32820, L"Browser Backward"},
                                        {32821, L"Browser Forward"}});
  ExpectCommands(GetSubMenu(outer, 4), {{32822, L"Next Track"},
                                        {32823, L"Previous Track"},
                                        {32824, L"Stop"},
                                        {32825, L"Play/Pause"},
                                        {32826, L"Mute"},
                                        {32827, L"Volume Up"},
                                        {32828, L"Volume Down"}});
  ExpectCommands(GetSubMenu(outer, 5), {{32829, L"Macro..."}});
  // Copy, Paste, Cut, Redo and Undo are offered by the drop-down lists only.
  for (UINT id = 32806; id <= 32810; ++id)
    EXPECT_EQ(GetMenuState(menu, id, MF_BYCOMMAND), static_cast<UINT>(-1)) << id;
  DestroyMenu(menu);
}

// ---- Icons and the arrow bitmap ---------------------------------------------------------------

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

std::vector<GroupIconEntry> IconSizes(int id) {
  std::vector<BYTE> bytes = ResourceBytes(id, RT_GROUP_ICON);
  std::vector<GroupIconEntry> out;
  if (bytes.size() < 6) return out;
  WORD count = 0;
  std::memcpy(&count, bytes.data() + 4, 2);
  for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= bytes.size(); ++i) {
    GroupIconEntry e;
    std::memcpy(&e, bytes.data() + 6 + i * sizeof(GroupIconEntry), sizeof e);
    out.push_back(e);
  }
  return out;
}

// Each event icon holds one 32-bit image per small icon size: 16 pixels at 96 DPI, 20, 24 and
// 32 at 125, 150 and 200 %, so no size is stretched from another.
TEST(Icons, EventIconsHaveASmallImageForEachDpiWithAlpha) {
  const BYTE kSides[] = {16, 20, 24, 32};
  for (int id : {154, 155, 156, 157, 158, 159, 160, 161, 164}) {
    SCOPED_TRACE("icon " + std::to_string(id));
    std::vector<GroupIconEntry> sizes = IconSizes(id);
    ASSERT_EQ(sizes.size(), std::size(kSides));
    for (size_t i = 0; i < std::size(kSides); ++i) {
      const BYTE side = kSides[i];
      EXPECT_EQ(sizes[i].width, side);
      EXPECT_EQ(sizes[i].height, side);
      EXPECT_EQ(sizes[i].bitCount, 32);
      HICON icon = static_cast<HICON>(
          LoadImageW(Self(), MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
      ASSERT_NE(icon, nullptr);
      ICONINFO info{};
      ASSERT_TRUE(GetIconInfo(icon, &info));
      BITMAP bm{};
      GetObjectW(info.hbmColor, sizeof bm, &bm);
      EXPECT_EQ(bm.bmWidth, side);
      EXPECT_EQ(bm.bmHeight, side);
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      DestroyIcon(icon);
    }
  }
}

TEST(Icons, ProgramIconHasSmallAndLargeImages) {
  std::vector<GroupIconEntry> sizes = IconSizes(IDI_CORVANE);
  auto has = [&](int px) {
    return std::any_of(sizes.begin(), sizes.end(), [&](const GroupIconEntry& e) {
      return e.width == px && e.height == px && e.bitCount == 32;
    });
  };
  EXPECT_TRUE(has(16));
  EXPECT_TRUE(has(32));
  for (int px : {16, 32}) {
    HICON icon = static_cast<HICON>(
        LoadImageW(Self(), MAKEINTRESOURCEW(IDI_CORVANE), IMAGE_ICON, px, px, 0));
    EXPECT_NE(icon, nullptr) << px;
    DestroyIcon(icon);
  }
  EXPECT_NE(LoadIconW(Self(), MAKEINTRESOURCEW(IDI_CORVANE)), nullptr);
}

TEST(Bitmaps, DropDownArrowIsAGreenTriangleWithAlpha) {
  std::vector<BYTE> bytes = ResourceBytes(IDB_DROPDOWN_ARROW, RT_BITMAP);
  ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER) + 16 * 16 * 4);
  BITMAPINFOHEADER h;
  std::memcpy(&h, bytes.data(), sizeof h);
  EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(h.biWidth, 16);
  EXPECT_EQ(h.biHeight, 16);  // bottom-up
  EXPECT_EQ(h.biBitCount, 32);
  EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
  const BYTE* px = bytes.data() + h.biSize;
  auto at = [&](int x, int y) { return px + ((15 - y) * 16 + x) * 4; };  // top-down coordinates
  EXPECT_EQ(at(0, 0)[3], 0) << "corners are transparent";
  EXPECT_EQ(at(15, 15)[3], 0);
  EXPECT_EQ(at(8, 2)[3], 0) << "nothing above the triangle";
  const BYTE* mid = at(8, 7);  // inside the triangle: opaque and green
  EXPECT_EQ(mid[3], 255);
  EXPECT_GT(mid[1], mid[0]);
  EXPECT_GT(mid[1], mid[2]);
  // It points down: its top row is wider than its bottom row.
  auto opaque = [&](int y) {
    int n = 0;
    for (int x = 0; x < 16; ++x) n += at(x, y)[3] > 128;
    return n;
  };
  EXPECT_GT(opaque(6), opaque(9));
  EXPECT_GT(opaque(9), 0);

  HBITMAP bmp = static_cast<HBITMAP>(LoadImageW(Self(), MAKEINTRESOURCEW(IDB_DROPDOWN_ARROW),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bmp, nullptr);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(bmp, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 16);
  EXPECT_EQ(dib.dsBm.bmHeight, 16);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
  DeleteObject(bmp);

  // The same arrow at 32 x 32, which the menu buttons scale down above 96 DPI.
  bmp = static_cast<HBITMAP>(LoadImageW(Self(), MAKEINTRESOURCEW(IDB_DROPDOWN_ARROW_LARGE),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bmp, nullptr);
  ASSERT_EQ(GetObjectW(bmp, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 32);
  EXPECT_EQ(dib.dsBm.bmHeight, 32);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
  const BYTE* large = static_cast<const BYTE*>(dib.dsBm.bmBits);
  EXPECT_EQ(large[((31 - 15) * 32 + 16) * 4 + 3], 255) << "opaque in the middle";
  EXPECT_EQ(large[3], 0) << "a transparent corner";
  DeleteObject(bmp);
}

// ---- Strings, version, manifest ---------------------------------------------------------------

struct BuiltIn {
  UINT id;
  const wchar_t* text;
};
const BuiltIn kStrings[] = {
#define CORVANE_STRING(id, sym, text) {id, L"" text},
#include "resources/strings.def"
#undef CORVANE_STRING
};

TEST(Strings, EveryBuiltInTextReadsBack) {
  for (const BuiltIn& s : kStrings) {
    wchar_t buf[1024] = {};
    LoadStringW(Self(), s.id, buf, 1024);
    EXPECT_STREQ(buf, s.text) << "string " << s.id;
  }
}

TEST(Strings, NoticeKeepsItsLineBreaks) {
  wchar_t buf[256] = {};
  ASSERT_GT(LoadStringW(Self(), 768, buf, 256), 0);
  EXPECT_STREQ(buf, L"Gaming mouse is not connected.\n\nPlease check your hardware connection.");
  ASSERT_GT(LoadStringW(Self(), 169, buf, 256), 0);
  EXPECT_STREQ(buf, L"&About Corvane...");
}

// The version block and the manifest carry the build's one version (cmake/version.cmake).
TEST(Version, IsTheBuildsVersionOfCorvane) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
  const DWORD ms = MAKELONG(CORVANE_VERSION_MINOR, CORVANE_VERSION_MAJOR);
  const DWORD ls = MAKELONG(0, CORVANE_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, ms);
  EXPECT_EQ(fixed->dwFileVersionLS, ls);
  EXPECT_EQ(fixed->dwProductVersionMS, ms);
  EXPECT_EQ(fixed->dwProductVersionLS, ls);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  const struct {
    const wchar_t* name;
    const wchar_t* text;
  } values[] = {{L"ProductName", L"Corvane"},
                {L"OriginalFilename", L"Corvane.exe"},
                {L"FileVersion", L"" CORVANE_VERSION},
                {L"ProductVersion", L"" CORVANE_VERSION}};
  for (const auto& v : values) {
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(),
                               (std::wstring(L"\\StringFileInfo\\040904B0\\") + v.name).c_str(),
                               reinterpret_cast<void**>(&text), &len))
        << v.name;
    EXPECT_STREQ(text, v.text) << v.name;
  }
  std::vector<BYTE> manifest = ResourceBytes(1, RT_MANIFEST);
  const std::string identity =
      "name=\"Corvane\" version=\"" + std::to_string(CORVANE_VERSION_MAJOR) + "." +
      std::to_string(CORVANE_VERSION_MINOR) + "." + std::to_string(CORVANE_VERSION_PATCH) + ".0\"";
  EXPECT_NE(std::string(manifest.begin(), manifest.end()).find(identity), std::string::npos);
}

TEST(Manifest, AsksForCommonControlsSix) {
  std::vector<BYTE> bytes = ResourceBytes(1, RT_MANIFEST);
  ASSERT_FALSE(bytes.empty());
  std::string xml(bytes.begin(), bytes.end());
  EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(xml.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(xml.find("6595b64144ccf1df"), std::string::npos);
}

}  // namespace
