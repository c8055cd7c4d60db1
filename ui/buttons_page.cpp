#include "ui/buttons_page.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "model/function_names.h"
#include "model/macro_links.h"
#include "model/text.h"
#include "storage/choice_tables.h"
#include "storage/strings.h"
#include "ui/framework/dpi.h"
#include "ui/localized.h"
#include "ui/macros_page.h"
#include "ui/prompts.h"

namespace corvane::ui {
namespace {

constexpr char16_t kCaption[] = u"Corvane";

constexpr CaptionEntry kCaptions[] = {
    {kIdRestoreDefaults, IDS_RESTORE_DEFAULTS},
    {kIdLabelHotKey, IDS_HOT_KEY},
    {kIdLabelMacro, IDS_MACRO},
    {kIdEditMacro, IDS_EDIT},
    {kIdLabelExecutionMode, IDS_EXECUTION_MODE},
    {kIdModeAuto, IDS_AUTO},
    {kIdModeManual, IDS_MANUAL},
    {kIdModeOneShot, IDS_ONE_SHOT},
    {kIdLabelInterval, IDS_EXECUTION_INTERVAL},
};

// The three groups of the detail area.
constexpr int kHotKeyRow[] = {kIdLabelHotKey, kIdHotKey};
constexpr int kMacroGroup[] = {kIdLabelMacro, kIdMacroChoice, kIdEditMacro,  kIdLabelExecutionMode,
                               kIdModeAuto,   kIdModeManual,  kIdModeOneShot};
constexpr int kIntervalRow[] = {kIdLabelInterval, kIdInterval, kIdLabelMs};

// An unsigned 32-bit number has at most ten digits.
constexpr int kMaxIntervalDigits = 10;

std::u16string Decimal(uint32_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

CButtonsDlg::CButtonsDlg(PageHost& host) : Page(host, kTemplateButtons) {
  appliedLanguage_ = kNoLanguage;
}

const MacroLibrary& CButtonsDlg::Library() const {
  static const MacroLibrary kEmpty{};
  CMacrosDlg* macros = host_.MacrosPage();
  return macros ? macros->Library() : kEmpty;
}

HWND CButtonsDlg::Selector(int row) const {
  return Item(ComboMode() ? kButtonRowIds[row].Combo : kButtonRowIds[row].Menu);
}

std::u16string CButtonsDlg::SelectorText(int row) const {
  if (row < 0 || row >= kButtonRows || !IsCreated()) return {};
  return Control(Selector(row)).Text();
}

int CButtonsDlg::ShownPicture() const {
  const DevicePicture* shown = picture_.Shown();
  for (int k = 0; k < kPictureSlots; ++k)
    if (shown == &pictures_[k]) return k;
  return -1;
}

bool CButtonsDlg::OnInitDialog() {
  rows_ = std::clamp(host_.Hardware().ButtonCount, 0, kButtonRows);
  // A page made again (a restore, perhaps of a mouse with fewer buttons) starts where the first
  // did, never on a row it may no longer have.
  current_ = kFirstCurrentRow;
  // The Macros page is created first, so the library is loaded before the links are resolved.
  LoadButtonAssignments(host_.StoredSettings(), options_, assignments_, kMaxAssignments, Library());

  picture_.Attach(Handle(), kIdPicture);
  picture_.Shape();
  LoadDevicePictures(pictures_, rows_, SystemDpi());

  // The hot key row shares the macro row's place; the two are never shown together.
  RECT hotKeyLabel{}, macroLabel{};
  GetWindowRect(Item(kIdLabelHotKey), &hotKeyLabel);
  GetWindowRect(Item(kIdLabelMacro), &macroLabel);
  int down = macroLabel.top - hotKeyLabel.top;
  for (int id : kHotKeyRow) {
    RECT r{};
    GetWindowRect(Item(id), &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(Item(id), nullptr, r.left, r.top + down, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  hotKey_.Attach(Handle(), kIdHotKey);

  SendDlgItemMessageW(
      Handle(), kIdInterval, EM_LIMITTEXT,
      static_cast<WPARAM>(std::clamp(options_.IntervalMaxDigits, 1, kMaxIntervalDigits)), 0);
  macroList_.Attach(Handle(), kIdMacroChoice);
  for (int k = 0; k < kButtonRows; ++k) combos_[k].Attach(Handle(), kButtonRowIds[k].Combo);
  if (!ComboMode()) {
    BuildFunctionMenu();
    for (int k = 0; k < kButtonRows; ++k) {
      menus_[k].Attach(Handle(), kButtonRowIds[k].Menu, look_);
      menus_[k].OnHoverStart = [this, k] { picture_.Show(&pictures_[k]); };
      menus_[k].OnFocus = [this, k] { MakeCurrent(k); };
    }
  }
  FillSelectors();
  FillMacroList();
  MakeCurrent(current_);
  return false;  // the focus stays where the main window puts it
}

void CButtonsDlg::BuildFunctionMenu() {
  menuResource_.Reset(LoadMenuW(Instance(), MAKEINTRESOURCEW(kMenuFunctions)));
  functionMenu_ = GetSubMenu(menuResource_.Get(), 0);
  if (!functionMenu_) return;
  MENUINFO face{};
  face.cbSize = sizeof(face);
  face.fMask = MIM_BACKGROUND;
  face.hbrBack = GetSysColorBrush(COLOR_BTNFACE);
  SetMenuInfo(functionMenu_, &face);
  for (int i = 0, n = GetMenuItemCount(functionMenu_); i < n; ++i)
    if (HMENU popup = GetSubMenu(functionMenu_, i)) SetMenuInfo(popup, &face);
  // Each command carries its function code, so a choice needs no table lookup.
  for (const FunctionName& f : FunctionNameTable) {
    if (!f.MenuCommand) continue;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_DATA;
    item.dwItemData = static_cast<ULONG_PTR>(f.Code);
    SetMenuItemInfoW(functionMenu_, f.MenuCommand, FALSE, &item);
  }
}

std::u16string CButtonsDlg::FunctionText(int32_t code) const {
  // Codes the lists do not offer (0 from a missing record, 37 to 40) still have a name.
  uint32_t id = FunctionNameId(code);
  return id ? Localized(id, host_.Language(), kFunctionNameCapacity) : std::u16string();
}

std::u16string CButtonsDlg::ComposedText(int row, int32_t code) {
  const ButtonAssignment& a = assignments_[row];
  uint32_t language = host_.Language();
  switch (code) {
    case kFunctionHotKey: {
      // The field names the combination; the current button's is loaded again when it is shown.
      settingHotKey_ = true;
      hotKey_.SetCombination(a.HotKeyVk, a.HotKeyModifiers);
      settingHotKey_ = false;
      return Localized(IDS_FN_HOTKEY, language, kFunctionNameCapacity) +
             hotKey_.GetCombinationText();
    }
    case kFunctionMacro:
      return Localized(IDS_FN_MACRO, language, kFunctionNameCapacity) +
             std::u16string(NameView(a.MacroName));
  }
  return FunctionText(code);
}

void CButtonsDlg::SetSelectorText(int row) {
  if (!ComboMode()) {
    SetItemText(kButtonRowIds[row].Menu, ComposedText(row, assignments_[row].FunctionCode));
    return;
  }
  // The entries of the hot key and the macro carry the row's composed texts.
  const ComboBox& combo = combos_[row];
  for (int32_t code : {kFunctionHotKey, kFunctionMacro}) {
    int at = FindChoice(combo.Handle(), code);
    if (at < 0) continue;
    bool selected = combo.Selection() == at;
    combo.Delete(at);
    at = combo.Insert(at, ComposedText(row, code));
    combo.SetItemData(at, code);
    if (selected) combo.Select(at);
  }
}

void CButtonsDlg::FillSelectors() {
  uint32_t language = host_.Language();
  appliedLanguage_ = language;
  for (int k = 0; k < rows_; ++k) {
    const ButtonRow& row = kButtonRowIds[k];
    SetLocalizedCaption(Handle(), row.Label, row.LabelString, language);
    ShowItem(row.Label, true);
    if (ComboMode()) {
      FillChoiceList(combos_[k].Handle(), kButtonFunctionChoices.Entries,
                     kButtonFunctionChoices.Count, assignments_[k].FunctionCode, language);
      SetSelectorText(k);
      ShowItem(row.Combo, true);
      ShowItem(row.Menu, false);
    } else {
      SetSelectorText(k);
      ShowItem(row.Combo, false);
      ShowItem(row.Menu, true);
    }
  }
  // A button the mouse lacks has no row: the template shows five rows whatever the count.
  for (int k = rows_; k < kButtonRows; ++k) {
    const ButtonRow& row = kButtonRowIds[k];
    for (int id : {row.Label, row.Combo, row.Menu}) ShowItem(id, false);
  }
  for (const CaptionEntry& c : kCaptions)
    SetLocalizedCaption(Handle(), c.ControlId, c.StringId, language);
}

void CButtonsDlg::FillMacroList() {
  const MacroLibrary& library = Library();
  int count = MacroCountInUse(library);
  macroList_.Reset();
  for (int i = 0; i < count; ++i) {
    int at = macroList_.Add(std::u16string(NameView(library.Macros[i].Name)));
    if (at >= 0) macroList_.SetItemData(at, i);
  }
  macroList_.Enable(count > 0);
}

void CButtonsDlg::MacroRemoved(int index) {
  UnlinkRemovedMacro(assignments_, rows_, index);
  ShowMacroNames();
}

void CButtonsDlg::MacroRenamed(int index) {
  RenameLinkedMacro(assignments_, rows_, Library(), index);
  ShowMacroNames();
}

void CButtonsDlg::ShowMacroNames() {
  if (!IsCreated()) return;
  for (int k = 0; k < rows_; ++k) SetSelectorText(k);
}

void CButtonsDlg::OnShow() {
  ResolveMacroLinks(assignments_, rows_, Library());
  if (appliedLanguage_ != static_cast<int64_t>(host_.Language())) FillSelectors();
  FillMacroList();
  MakeCurrent(current_);
  SetFocus(Selector(current_));
}

void CButtonsDlg::MakeCurrent(int row) {
  if (row < 0 || row >= rows_) return;
  picture_.Show(&pictures_[row]);
  current_ = row;
  ApplyDetailRule();
}

void CButtonsDlg::ShowHotKeyRow(bool show) {
  for (int id : kHotKeyRow) ShowItem(id, show);
}

void CButtonsDlg::ShowMacroGroup(bool show) {
  for (int id : kMacroGroup) ShowItem(id, show);
}

void CButtonsDlg::ShowIntervalRow(bool show) {
  for (int id : kIntervalRow) ShowItem(id, show);
}

void CButtonsDlg::ApplyDetailRule() {
  const ButtonAssignment& a = assignments_[current_];
  switch (a.FunctionCode) {
    case kFunctionHotKey:
      ShowHotKeyRow(true);
      ShowMacroGroup(false);
      ShowIntervalRow(false);
      settingHotKey_ = true;
      hotKey_.SetCombination(a.HotKeyVk, a.HotKeyModifiers);
      settingHotKey_ = false;
      return;
    case kFunctionMacro: {
      ShowHotKeyRow(false);
      ShowMacroGroup(true);
      int32_t mode = std::clamp(a.ExecutionMode, int32_t{kModeAuto}, int32_t{kModeOneShot});
      CheckRadioButton(Handle(), kIdModeAuto, kIdModeOneShot, kIdModeAuto + mode);
      settingInterval_ = true;
      SetItemText(kIdInterval, Decimal(a.ExecutionInterval));
      settingInterval_ = false;
      SelectChoice(macroList_.Handle(), a.MacroIndex);
      ShowIntervalRow(mode != kModeOneShot);
      return;
    }
  }
  ShowHotKeyRow(false);
  ShowMacroGroup(false);
  ShowIntervalRow(false);
}

void CButtonsDlg::TellMacroNotFound() {
  const ButtonAssignment& a = assignments_[current_];
  if (a.MacroIndex >= 0 || a.MacroName[0] == u'\0') return;
  std::u16string text =
      FormatMessageText(BuiltinString(IDS_MACRO_NOT_FOUND), NameView(a.MacroName));
  host_.Asker().Message(Handle(), text, kCaption, MB_OK | MB_ICONWARNING);
}

void CButtonsDlg::ChooseInCombo(int row) {
  if (!TakeComboSelection(row)) return;
  ShowChosenDetails();
}

bool CButtonsDlg::TakeComboSelection(int row) {
  if (row < 0 || row >= rows_) return false;
  current_ = row;
  int at = combos_[row].Selection();
  // Without a selected entry (Restore Defaults gave a code the list lacks) the code stays.
  if (at >= 0) assignments_[row].FunctionCode = static_cast<int32_t>(combos_[row].ItemData(at));
  return true;
}

void CButtonsDlg::ComboNotified(int row, int code) {
  // Each selection change takes effect at once. The focus moves on (and a macro that is gone is
  // told) only for a settled choice: one made in the opened list, once the list has both
  // accepted it and closed, in whichever order the two come. Arrow keys through a closed list
  // step over the hot key and the macro without leaving it.
  ComboDrop& drop = drops_[row];
  switch (code) {
    case CBN_SETFOCUS: MakeCurrent(row); return;
    case CBN_SELCHANGE:
      if (TakeComboSelection(row)) ApplyDetailRule();
      return;
    case CBN_DROPDOWN: drop = {true, false, false}; return;
    case CBN_SELENDOK: drop.Accepted = drop.Open; break;
    case CBN_CLOSEUP: drop.Closed = drop.Open; break;
    default: return;
  }
  if (drop.Accepted && drop.Closed) {
    drop = {};
    if (TakeComboSelection(row)) ShowChosenDetails();
  }
}

void CButtonsDlg::ShowChosenDetails() {
  switch (assignments_[current_].FunctionCode) {
    case kFunctionHotKey:
      ApplyDetailRule();
      SetFocus(Item(kIdHotKey));
      return;
    case kFunctionMacro:
      TellMacroNotFound();
      ApplyDetailRule();
      SetFocus(Item(kIdMacroChoice));
      return;
  }
  ApplyDetailRule();
}

void CButtonsDlg::ChooseFromMenu(int row) {
  if (row < 0 || row >= rows_ || !functionMenu_) return;
  MakeCurrent(row);
  RECT r{};
  GetWindowRect(Item(kButtonRowIds[row].Menu), &r);
  int command = host_.Asker().ChooseFromMenu(Handle(), functionMenu_, r.left, r.bottom);
  ButtonAssignment& a = assignments_[row];
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_DATA;
  if (command == 0 || !GetMenuItemInfoW(functionMenu_, static_cast<UINT>(command), FALSE, &item)) {
    // Dismissed: the row keeps its function; a hot key or macro row goes on to its details.
    if (a.FunctionCode == kFunctionHotKey) SetFocus(Item(kIdHotKey));
    if (a.FunctionCode == kFunctionMacro) SetFocus(Item(kIdMacroChoice));
    return;
  }
  a.FunctionCode = static_cast<int32_t>(item.dwItemData);
  SetSelectorText(row);
  ShowChosenDetails();
}

void CButtonsDlg::ChooseMacro() {
  ButtonAssignment& a = assignments_[current_];
  int at = macroList_.Selection();
  if (at >= 0)
    AssignMacro(a, Library(), static_cast<int>(macroList_.ItemData(at)));
  else
    ClearMacroAssignment(a);
  SetSelectorText(current_);
}

void CButtonsDlg::SetExecutionMode(int32_t mode) {
  assignments_[current_].ExecutionMode = mode;
  ShowIntervalRow(mode != kModeOneShot);
}

uint32_t CButtonsDlg::IntervalValue() const {
  // The leading digits as an unsigned number, held at the largest one: the field takes digits
  // only, but a paste or a generous IntervalMaxDigits must not wrap around.
  uint64_t value = 0;
  for (char16_t c : ItemText(kIdInterval)) {
    if (c < u'0' || c > u'9') break;
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - u'0'), UINT32_MAX);
  }
  return static_cast<uint32_t>(value);
}

void CButtonsDlg::IntervalChanged() {
  if (settingInterval_) return;
  ButtonAssignment& a = assignments_[current_];
  uint32_t value = IntervalValue();
  if (value <= options_.IntervalMax) {
    a.ExecutionInterval = value;  // a number below IntervalMin is kept while the user types
    return;
  }
  settingInterval_ = true;
  SetItemText(kIdInterval, Decimal(a.ExecutionInterval));
  settingInterval_ = false;
  // Typing goes on at the end of the number that came back.
  LRESULT end = SendDlgItemMessageW(Handle(), kIdInterval, WM_GETTEXTLENGTH, 0, 0);
  SendDlgItemMessageW(Handle(), kIdInterval, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void CButtonsDlg::IntervalLeft() {
  if (IntervalValue() >= options_.IntervalMin) return;
  assignments_[current_].ExecutionInterval = options_.IntervalMin;
  settingInterval_ = true;
  SetItemText(kIdInterval, Decimal(options_.IntervalMin));
  settingInterval_ = false;
  // The focus goes back once the move that took it away has finished, and only while the same
  // row is current.
  PostMessageW(Handle(), kMsgFocusInterval, static_cast<WPARAM>(current_), 0);
}

void CButtonsDlg::HotKeyChanged() {
  if (settingHotKey_) return;
  settingHotKey_ = true;
  hotKey_.SetCombination(hotKey_.m_wKey, hotKey_.m_wModifiers);
  settingHotKey_ = false;
}

void CButtonsDlg::HotKeyLeft() {
  ButtonAssignment& a = assignments_[current_];
  a.HotKeyVk = hotKey_.m_wKey;
  a.HotKeyModifiers = hotKey_.m_wModifiers;
  SetSelectorText(current_);
}

void CButtonsDlg::RestoreDefaults() {
  for (int k = 0; k < rows_; ++k) {
    int32_t code = LoadButtonsDefault(k + 1);
    assignments_[k].FunctionCode = code;
    if (ComboMode())
      SelectChoice(combos_[k].Handle(), code);
    else
      SetItemText(kButtonRowIds[k].Menu, FunctionText(code));  // "Hotkey..." without the key
  }
  if (ComboMode()) ChooseInCombo(1);
}

bool CButtonsDlg::OnPageCommand(int id, int code, HWND) {
  for (int k = 0; k < kButtonRows; ++k) {
    if (id == kButtonRowIds[k].Combo) {
      ComboNotified(k, code);
      return true;
    }
    if (id == kButtonRowIds[k].Menu) {
      if (code == BN_CLICKED) ChooseFromMenu(k);
      return true;
    }
  }
  switch (id) {
    case kIdHotKey:
      if (code == EN_CHANGE) HotKeyChanged();
      if (code == EN_KILLFOCUS) HotKeyLeft();
      return true;
    case kIdMacroChoice:
      if (code == CBN_SELCHANGE) ChooseMacro();
      return true;
    case kIdEditMacro:
      if (code == BN_CLICKED) SwitchToTab(kTabMacros);
      return true;
    case kIdModeAuto:
    case kIdModeManual:
    case kIdModeOneShot:
      if (code == BN_CLICKED) SetExecutionMode(id - kIdModeAuto);
      return true;
    case kIdInterval:
      if (code == EN_CHANGE) IntervalChanged();
      if (code == EN_KILLFOCUS) IntervalLeft();
      return true;
    case kIdRestoreDefaults:
      if (code == BN_CLICKED) RestoreDefaults();
      return true;
  }
  return false;
}

bool CButtonsDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) OnShow();
      return false;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      for (int k = 0; k < kButtonRows; ++k) {
        if (static_cast<int>(item->CtlID) != kButtonRowIds[k].Menu) continue;
        menus_[k].Draw(*item);
        result = TRUE;
        return true;
      }
      return false;
    }
    case kMsgFocusInterval:
      if (static_cast<int>(wp) == current_ && IsWindowVisible(Item(kIdInterval)))
        SetFocus(Item(kIdInterval));
      result = TRUE;
      return true;
  }
  return false;
}

}  // namespace corvane::ui
