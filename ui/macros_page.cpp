#include "ui/macros_page.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "macros/event_row.h"
#include "macros/hook/corvane_hook.h"
#include "model/macro.h"
#include "model/text.h"
#include "storage/choice_tables.h"
#include "storage/macro_name.h"
#include "storage/macro_store.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "ui/buttons_page.h"
#include "ui/framework/dpi.h"
#include "ui/ids.h"
#include "ui/localized.h"
#include "ui/prompts.h"

namespace corvane::ui {
namespace {

// The record button (1099) is set apart: its text depends on the recorder.
constexpr CaptionEntry kCaptions[] = {
    {kIdLabelRecordingOptions, IDS_RECORDING_OPTIONS},
    {kIdRecordMouse, IDS_RECORD_MOUSE},
    {kIdRecordKeyboard, IDS_RECORD_KEYBOARD},
    {kIdRecordDelay, IDS_RECORD_DELAY},
    {kIdRecordMinimize, IDS_RECORD_MINIMIZE},
    {kIdRecordUseHotkey, IDS_RECORD_HOTKEY},
    {kIdMacroNew, IDS_NEW},
    {kIdMacroDelete, IDS_DELETE},
    {kIdMacroRename, IDS_RENAME},
    {kIdMacroSave, IDS_SAVE},
    {kIdMacroImport, IDS_IMPORT},
    {kIdMacroExport, IDS_EXPORT},
};

// Recording option check boxes and their fields, in control order.
constexpr int kOptionBoxes[] = {kIdRecordMouse, kIdRecordKeyboard, kIdRecordDelay,
                                kIdRecordMinimize, kIdRecordUseHotkey};
int32_t RecordingOptions::*const kOptionFields[] = {
    &RecordingOptions::RecordingMouse, &RecordingOptions::RecordingKeyboard,
    &RecordingOptions::RecordingDelay, &RecordingOptions::RecordingMinimize,
    &RecordingOptions::RecordingUseHotkey};

// Controls that need a macro, and those that stay usable without one.
constexpr int kMacroCommands[] = {kIdMacroDelete, kIdMacroRename, kIdMacroSave, kIdMacroExport};
constexpr int kIdleControls[] = {kIdMacroList,   kIdRecordMouse,    kIdRecordKeyboard,
                                 kIdRecordDelay, kIdRecordMinimize, kIdRecordUseHotkey,
                                 kIdMacroNew,    kIdMacroImport};

// Category icons as state images, action icons as small images, in these orders: category
// image i belongs to action image i.
constexpr int kCategoryIcons[] = {kIconKeyboard, kIconKeyboard, kIconMouse,     kIconMouse,
                                  kIconMouse,    kIconMouse,    kIconAlarmClock};
constexpr int kActionIcons[] = {kIconYellowDown, kIconYellowUp, kIconBlueDown,  kIconBlueUp,
                                kIconGreyDown,   kIconGreyUp,   kIconAlarmClock};

constexpr char16_t kExchangeFilter[] = u"Corvane Macro Files (*.mcr)|*.mcr";
constexpr char16_t kExchangeExtension[] = u"mcr";
constexpr char16_t kMessageCaption[] = u"Corvane";

// The system's id of the start/stop hot key of the page window.
constexpr int kRecordingHotkeyId = 0;

// The icons at the small icon size of the DPI (16 pixels at 96 DPI); the files hold each size.
HIMAGELIST IconList(const int* ids, size_t count) {
  const int side = ScaleForDpi(16);
  HIMAGELIST list =
      ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, static_cast<int>(count), 0);
  for (size_t i = 0; i < count; ++i) {
    auto icon = static_cast<HICON>(LoadImageW(Dialog::Instance(), MAKEINTRESOURCEW(ids[i]),
                                              IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
    ImageList_AddIcon(list, icon);
    if (icon) DestroyIcon(icon);
  }
  return list;
}

std::u16string TextOf(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

}  // namespace

CMacrosDlg::CMacrosDlg(PageHost& host)
    : Page(host, kTemplateMacros),
      library_(std::make_unique<MacroLibrary>()),
      recorder_(*library_, options_, *this) {}

// The window goes while this object is whole, so WM_DESTROY still reaches its handlers.
CMacrosDlg::~CMacrosDlg() { Destroy(); }

uint32_t CMacrosDlg::AppliedLanguage() const { return static_cast<uint32_t>(appliedLanguage_); }

bool CMacrosDlg::OnInitDialog() {
  macroList_.Attach(Handle(), kIdMacroList);
  eventList_.Attach(Handle(), kIdEventList);
  hotkeyList_.Attach(Handle(), kIdRecordHotkey);
  recordButton_.Attach(Handle(), kIdRecord);

  LoadRecordingOptions(host_.StoredSettings(), options_);
  RefreshTexts();
  for (size_t i = 0; i < std::size(kOptionBoxes); ++i)
    CheckItem(kOptionBoxes[i], options_.*kOptionFields[i] != 0);
  // The hot key list always shows the built-in texts.
  FillChoiceList(hotkeyList_.Handle(), kRecordingHotkeyChoices.Entries,
                 kRecordingHotkeyChoices.Count, static_cast<int32_t>(options_.RecordingHotkey), 0);
  hotkeyList_.Enable(options_.RecordingUseHotkey != 0);
  RegisterRecordingHotkey();

  LoadMacroLibrary(host_.StoredSettings(), *library_);
  macroList_.SetExtendedStyle(LVS_EX_AUTOSIZECOLUMNS);
  macroList_.InsertColumn(0, u"Macros", ScaleForDpi(150));
  FillMacroList();
  SetUpEventList();
  if (library_->MacroCount > 0) {
    rememberedRow_ = 0;
    ShowMacro(0);
  }
  ApplyEnabling(true, false);
  ready_ = true;
  return true;
}

void CMacrosDlg::SetUpEventList() {
  eventList_.SetImageList(IconList(kCategoryIcons, std::size(kCategoryIcons)), LVSIL_STATE);
  eventList_.SetImageList(IconList(kActionIcons, std::size(kActionIcons)), LVSIL_SMALL);
  // The category icon is asked for with the text (a state image kept by the page, not the list).
  eventList_.Send(LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK);
  eventList_.InsertColumn(0, u"Events", ScaleForDpi(180));
}

void CMacrosDlg::RefreshTexts() {
  bool changed = appliedLanguage_ != static_cast<int64_t>(host_.Language());
  RefreshCaptions(kCaptions, std::size(kCaptions));
  if (changed) ShowRecording(recorder_.Recording());
}

void CMacrosDlg::FillMacroList() {
  macroList_.SetRedraw(false);
  macroList_.DeleteAll();
  for (int i = 0; i < library_->MacroCount; ++i)
    macroList_.InsertText(i, std::u16string(NameView(library_->Macros[i].Name)), i);
  macroList_.SelectOnly(library_->MacroCount > 0 ? 0 : -1);
  macroList_.SetRedraw(true);
}

int CMacrosDlg::SelectedMacro() const {
  if (!IsCreated()) return -1;
  int row = macroList_.NextSelected();
  return row >= 0 && row < library_->MacroCount ? row : -1;
}

bool CMacrosDlg::AnyModified() const {
  for (int i = 0; i < library_->MacroCount; ++i)
    if (library_->Macros[i].Modified) return true;
  return false;
}

// ---- The event list ---------------------------------------------------------------------------

std::u16string CMacrosDlg::RowText(const MacroEvent& event) const {
  const EventRowLook look = DescribeEvent(event);
  if (look.IsDelay) {
    std::u16string text =
        FormatDelayText(Localized(look.TextId, AppliedLanguage(), kListItemCapacity), event.Data);
    if (text.size() > kListItemCapacity - 1) text.resize(kListItemCapacity - 1);
    return text;
  }
  return look.TextId ? Localized(look.TextId, AppliedLanguage(), kListItemCapacity) : u"";
}

// The event list is virtual: it holds the row count and the selection, and asks for a row's
// text and icons as it shows the row. So filling it is setting the count, however many events.
void CMacrosDlg::ShowMacro(int macro) {
  shownMacro_ = macro >= 0 && macro < kMaxMacros ? macro : -1;
  delayEditRow_ = -1;
  eventList_.SelectOnly(-1);
  SyncEventRows();
  eventList_.EnsureVisible(0);
}

void CMacrosDlg::SyncEventRows() {
  int count = 0;
  if (shownMacro_ >= 0) {
    count = library_->Macros[shownMacro_].EventCount;
    count = count < 0 ? 0 : count > kMaxEvents ? kMaxEvents : count;
  }
  // Setting the count recomputes the scroll bars: only when it changes (a switch between two
  // macros of one length is a repaint).
  if (eventList_.Count() != count) eventList_.SetItemCount(count);
  InvalidateRect(eventList_.Handle(), nullptr, TRUE);
}

void CMacrosDlg::DescribeRow(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if (shownMacro_ < 0 || item.iItem < 0 || item.iItem >= library_->Macros[shownMacro_].EventCount)
    return;
  const MacroEvent& event = library_->Macros[shownMacro_].Events[item.iItem];
  const EventRowLook look = DescribeEvent(event);
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    // While the delay editor is open its row shows the bare value.
    const std::u16string text =
        item.iItem == delayEditRow_ ? DelayDigits(event.Data) : RowText(event);
    const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), item.pszText);
    item.pszText[n] = L'\0';
  }
  if (item.mask & LVIF_IMAGE) item.iImage = look.Action == kActionNone ? I_IMAGENONE : look.Action;
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                 INDEXTOSTATEIMAGEMASK(static_cast<UINT>(look.Category + 1));
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
  if (item.mask & LVIF_PARAM) item.lParam = look.ItemData;
}

void CMacrosDlg::RedrawRow(int row) {
  SendMessageW(eventList_.Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(row),
               static_cast<LPARAM>(row));
}

bool CMacrosDlg::IsDelayRow(int row) const {
  if (shownMacro_ < 0 || row < 0) return false;
  const Macro& m = library_->Macros[shownMacro_];
  return row < m.EventCount && m.Events[row].Message == kMsgDelay;
}

int CMacrosDlg::EditableMacro() const {
  int macro = SelectedMacro();
  return macro >= 0 && macro == shownMacro_ ? macro : -1;
}

// ---- Enabling ---------------------------------------------------------------------------------

void CMacrosDlg::ApplyEnabling(bool recordButton, bool recording) {
  const bool any = library_->MacroCount > 0;
  for (int id : kIdleControls) EnableItem(id, !recording);
  for (int id : kMacroCommands) EnableItem(id, any && !recording);
  hotkeyList_.Enable(options_.RecordingUseHotkey != 0 && !recording);
  eventList_.Enable(true);
  if (recordButton) recordButton_.Enable(any);
}

// ---- Recording --------------------------------------------------------------------------------

void CMacrosDlg::RegisterRecordingHotkey() {
  // A registration under an id in use adds a second key rather than replacing the first, so
  // the earlier key is released before the new one is claimed.
  UnregisterHotKey(Handle(), kRecordingHotkeyId);
  if (options_.RecordingUseHotkey)
    RegisterHotKey(Handle(), kRecordingHotkeyId, MOD_ALT, LOWORD(options_.RecordingHotkey));
  // Registration failures are not reported: the key is then simply not there.
}

void CMacrosDlg::ToggleRecording() {
  // The message's time stamp is in the time base of the hook records.
  recorder_.Toggle(SelectedMacro(), static_cast<uint32_t>(GetMessageTime()));
}

void CMacrosDlg::EnableControls(bool recording) { ApplyEnabling(false, recording); }

void CMacrosDlg::ClearFocus() { SetFocus(nullptr); }

void CMacrosDlg::StartHooks(bool mouse, bool keyboard) {
  if (mouse) MouseHookStart(Handle(), WM_HOOKMOUSE);
  if (keyboard) KeyboardHookStart(Handle(), WM_HOOKKEYBOARD);
}

void CMacrosDlg::StopHooks(bool mouse, bool keyboard) {
  if (mouse) MouseHookStop();
  if (keyboard) KeyboardHookStop();
}

void CMacrosDlg::ShowRecording(bool recording) {
  recordButton_.SetText(Localized(recording ? IDS_STOP_RECORDING : IDS_START_RECORDING,
                                  AppliedLanguage(), kCaptionCapacity));
}

void CMacrosDlg::MinimiseMain() { ShowWindow(GetAncestor(Handle(), GA_ROOT), SW_MINIMIZE); }

void CMacrosDlg::RestoreMain() {
  HWND main = GetAncestor(Handle(), GA_ROOT);
  ShowWindow(main, SW_SHOWNORMAL);
  BringWindowToTop(main);
  RedrawWindow(main, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CMacrosDlg::FocusSave() { SetFocus(Item(kIdMacroSave)); }

void CMacrosDlg::RowAdded(int index) {
  // With nothing shown (no macro selected) the list shows the macro recorded into.
  if (shownMacro_ < 0) shownMacro_ = recorder_.Target();
  SyncEventRows();
  eventList_.EnsureVisible(index);
}

void CMacrosDlg::RowDeleted(int) { SyncEventRows(); }

// ---- Commands ---------------------------------------------------------------------------------

void CMacrosDlg::Tell(uint32_t stringId, const std::u16string& arg) {
  host_.Asker().Message(Handle(), FormatMessageText(BuiltinString(stringId), arg), kMessageCaption,
                        MB_OK | MB_ICONWARNING);
}

void CMacrosDlg::SaveSelected() {
  int row = SelectedMacro();
  if (row < 0) return;
  Macro& macro = library_->Macros[row];
  bool names = SaveMacroNames(*library_, library_->MacroCount);
  bool events = SaveMacroEvents(macro);
  if (!names || !events) Tell(IDS_MACRO_SAVE_FAILED, std::u16string(NameView(macro.Name)));
}

void CMacrosDlg::OnNew() {
  int index = NewMacro(*library_);
  if (index < 0) return;  // 128 macros
  const std::u16string name(NameView(library_->Macros[index].Name));
  macroList_.InsertText(index, name, index);
  macroList_.EnsureVisible(index);
  ShowMacro(-1);
  ApplyEnabling(true, false);
  SetFocus(macroList_.Handle());
  macroList_.SelectOnly(index);
  if (!MacroFileExists(name)) Tell(IDS_MACRO_CREATE_FAILED, name);
  macroList_.EditLabel(index);
}

void CMacrosDlg::OnDelete() {
  int row = SelectedMacro();
  if (row < 0) return;
  const std::u16string name(NameView(library_->Macros[row].Name));
  // The file goes first: when it cannot, the macro stays, in the list and on disk alike.
  if (MacroFileExists(name) && FindMacroName(*library_, name, row) < 0 && !DeleteMacroFile(name)) {
    Tell(IDS_MACRO_DELETE_FAILED, name);
    return;
  }
  macroList_.DeleteItem(row);
  RemoveMacro(*library_, row);
  if (CButtonsDlg* buttons = host_.ButtonsPage()) buttons->MacroRemoved(row);
  for (int i = row; i < library_->MacroCount; ++i) macroList_.SetItemData(i, i);
  ShowMacro(-1);
  macroList_.SelectOnly(-1);
  ApplyEnabling(true, false);
  if (!SaveMacroNames(*library_, library_->MacroCount)) Tell(IDS_MACRO_LIST_SAVE_FAILED, u"");
}

void CMacrosDlg::OnRename() {
  int row = SelectedMacro();
  if (row < 0) return;
  SetFocus(macroList_.Handle());
  macroList_.EditLabel(row);
}

void CMacrosDlg::OnImport() {
  std::u16string path;
  if (!host_.Asker().OpenFile(Handle(), u"Import", kExchangeFilter, kExchangeExtension, path))
    return;
  int index = ImportMacroFile(*library_, path);
  if (index < 0) return;  // 128 macros
  const std::u16string name(NameView(library_->Macros[index].Name));
  macroList_.InsertText(index, name, index);
  macroList_.SelectOnly(index);
  macroList_.EnsureVisible(index);
  ShowMacro(index);
  ApplyEnabling(true, false);
  if (!MacroFileExists(name)) Tell(IDS_MACRO_CREATE_FAILED, name);
}

void CMacrosDlg::OnExport() {
  int row = SelectedMacro();
  if (row < 0) return;
  Macro& macro = library_->Macros[row];
  std::u16string path(NameView(macro.Name));
  if (!host_.Asker().SaveFile(Handle(), u"Export", kExchangeFilter, kExchangeExtension, path))
    return;
  // Refused onto another macro's own file, whose events it would replace.
  if (!ExportMacroFile(*library_, row, path)) Tell(IDS_MACRO_EXPORT_FAILED, path);
}

void CMacrosDlg::OnUseHotkey() {
  options_.RecordingUseHotkey = IsItemChecked(kIdRecordUseHotkey) ? 1 : 0;
  hotkeyList_.Enable(options_.RecordingUseHotkey != 0);
  RegisterRecordingHotkey();
}

void CMacrosDlg::OnHotkeyChoice() {
  int at = hotkeyList_.Selection();
  if (at >= 0) options_.RecordingHotkey = static_cast<uint32_t>(hotkeyList_.ItemData(at));
  RegisterRecordingHotkey();
}

bool CMacrosDlg::OnPageCommand(int id, int code, HWND) {
  switch (id) {
    case kIdMacroNew:
    case kCmdMacroNew: OnNew(); return true;
    case kIdMacroDelete:
    case kCmdMacroDelete: OnDelete(); return true;
    case kIdMacroRename:
    case kCmdMacroRename: OnRename(); return true;
    case kIdMacroSave:
    case kCmdMacroSave: SaveSelected(); return true;
    case kIdMacroImport:
    case kCmdMacroImport: OnImport(); return true;
    case kIdMacroExport:
    case kCmdMacroExport: OnExport(); return true;
    case kIdRecord: ToggleRecording(); return true;
    case kIdRecordUseHotkey: OnUseHotkey(); return true;
    case kIdRecordHotkey:
      if (code == CBN_SELCHANGE) OnHotkeyChoice();
      return true;
  }
  for (size_t i = 0; i + 1 < std::size(kOptionBoxes); ++i) {
    if (id == kOptionBoxes[i]) {
      options_.*kOptionFields[i] = IsItemChecked(id) ? 1 : 0;
      return true;
    }
  }
  return false;
}

// ---- The macro list ---------------------------------------------------------------------------

void CMacrosDlg::MacroListMenu(int row) {
  HMENU menu = LoadMenuW(Instance(), MAKEINTRESOURCEW(kMenuMacroList));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, 0);
  // On empty space only New and Import... are offered.
  for (int id : {kCmdMacroDelete, kCmdMacroRename, kCmdMacroSave, kCmdMacroExport})
    EnableMenuItem(popup, id, MF_BYCOMMAND | (row >= 0 ? MF_ENABLED : MF_GRAYED));
  POINT at{};
  GetCursorPos(&at);
  int command = host_.Asker().ChooseFromMenu(Handle(), popup, at.x, at.y);
  DestroyMenu(menu);
  if (command) OnPageCommand(command, 0, nullptr);
}

void CMacrosDlg::EndMacroLabelEdit(const NMLVDISPINFOW& info) {
  if (!info.item.pszText) return;  // cancelled
  const int row = info.item.iItem;
  if (row < 0 || row >= library_->MacroCount) return;
  Macro& macro = library_->Macros[row];
  const std::u16string typed = TextOf(info.item.pszText);
  const std::u16string oldName(NameView(macro.Name));
  if (!RenameMacro(*library_, row, typed)) {
    if (NameView(macro.Name) == oldName) {
      // Refused: another macro has the name, or it cannot name a file.
      if (typed != oldName) Tell(IDS_MACRO_NAME_REFUSED, typed);
      return;
    }
    if (MacroFileExists(oldName)) {
      // The events could not follow the name: keep both where they are.
      CopyName(macro.Name, oldName);
      Tell(IDS_MACRO_RENAME_FAILED, oldName);
      return;
    }
    // No stored events under the old name: the next save creates the new file.
  }
  if (CButtonsDlg* buttons = host_.ButtonsPage()) buttons->MacroRenamed(row);
  if (!SaveMacroNames(*library_, library_->MacroCount)) Tell(IDS_MACRO_LIST_SAVE_FAILED, u"");
  macroList_.SetItemText(row, std::u16string(NameView(macro.Name)));
  SetFocus(recordButton_.Handle());
}

bool CMacrosDlg::OnMacroListNotify(NMHDR* header) {
  switch (header->code) {
    case NM_CLICK: {
      int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
      if (row >= 0) {
        rememberedRow_ = row;
        if (row != shownMacro_) ShowMacro(row);
      } else if (macroList_.Count() > 0) {
        // A click beside the rows keeps the macro last clicked.
        int keep = rememberedRow_ < library_->MacroCount ? rememberedRow_ : -1;
        macroList_.SelectOnly(keep);
        if (keep >= 0 && keep != shownMacro_) ShowMacro(keep);
      }
      SetMsgResult(0);
      return true;
    }
    case NM_DBLCLK: {
      int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
      if (row >= 0) {
        rememberedRow_ = row;
        macroList_.EditLabel(row);
      }
      SetMsgResult(0);
      return true;
    }
    case NM_RCLICK: {
      int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
      if (row >= 0) rememberedRow_ = row;
      MacroListMenu(row);
      SetMsgResult(0);
      return true;
    }
    case LVN_ITEMCHANGED: {
      // The selection moved by any other way than a click (the keyboard, a command).
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if (ready_ && (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
          !(change->uOldState & LVIS_SELECTED) && change->iItem >= 0 &&
          change->iItem < library_->MacroCount && change->iItem != shownMacro_)
        ShowMacro(change->iItem);
      return false;
    }
    case LVN_BEGINLABELEDITW:
      // A name holds 63 characters.
      SendMessageW(macroList_.EditControl(), EM_LIMITTEXT, kMacroNameChars, 0);
      SetMsgResult(FALSE);
      return true;
    case LVN_ENDLABELEDITW:
      EndMacroLabelEdit(*reinterpret_cast<NMLVDISPINFOW*>(header));
      SetMsgResult(FALSE);  // the row's text comes from Name only
      return true;
  }
  return false;
}

// ---- Editing events by hand -------------------------------------------------------------------

void CMacrosDlg::EventListMenu(int row) {
  HMENU menu = LoadMenuW(Instance(), MAKEINTRESOURCEW(kMenuEventList));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, 0);
  for (int id : {kCmdRecordBefore, kCmdRecordAfter, kCmdInsertDelay, kCmdDeleteEvent})
    EnableMenuItem(popup, id, MF_BYCOMMAND | (row >= 0 ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(popup, kCmdEditDelay, MF_BYCOMMAND | (IsDelayRow(row) ? MF_ENABLED : MF_GRAYED));
  POINT at{};
  GetCursorPos(&at);
  int command = host_.Asker().ChooseFromMenu(Handle(), popup, at.x, at.y);
  DestroyMenu(menu);
  if (row < 0) return;
  switch (command) {
    case kCmdRecordBefore:
      recorder_.SetInsertion(RecordMode::Before, row);
      ToggleRecording();
      break;
    case kCmdRecordAfter:
      recorder_.SetInsertion(RecordMode::After, row);
      ToggleRecording();
      break;
    case kCmdInsertDelay: InsertDelay(row); break;
    case kCmdEditDelay:
      if (IsDelayRow(row)) OpenDelayEditor(row);
      break;
    case kCmdDeleteEvent: DeleteEventRow(row); break;
  }
}

void CMacrosDlg::InsertDelay(int row) {
  int macro = EditableMacro();
  if (macro < 0) return;
  Macro& m = library_->Macros[macro];
  if (InsertEvent(m, row, kMsgDelay, options_.DelayDefault) < 0) return;  // full
  SyncEventRows();
  OpenDelayEditor(row);
}

void CMacrosDlg::DeleteEventRow(int row) {
  int macro = EditableMacro();
  if (macro < 0) return;
  if (DeleteEvent(library_->Macros[macro], row) < 0) return;
  SyncEventRows();
}

void CMacrosDlg::OpenDelayEditor(int row) {
  SetFocus(eventList_.Handle());
  delayEditRow_ = row;
  RedrawRow(row);
  eventList_.EditLabel(row);
}

// Whatever started the label editing of a delay row, its field holds the digits of the value.
void CMacrosDlg::PrepareDelayEditor(int row) {
  HWND edit = eventList_.EditControl();
  if (!edit) return;
  SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) | ES_NUMBER);
  int digits = options_.DelayMaxDigits > 0 ? options_.DelayMaxDigits : 0;
  SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(digits), 0);
  std::u16string text = DelayDigits(library_->Macros[shownMacro_].Events[row].Data);
  SetWindowTextW(edit, reinterpret_cast<const wchar_t*>(text.c_str()));
  SendMessageW(edit, EM_SETSEL, 0, -1);
}

void CMacrosDlg::EndDelayEdit(const NMLVDISPINFOW& info) {
  const int row = info.item.iItem;
  Macro& m = library_->Macros[shownMacro_];
  MacroEvent& event = m.Events[row];
  if (info.item.pszText) {
    // Values outside 0..DelayMax are ignored; a changed value is an unsaved change.
    int32_t value = ParseDelayText(TextOf(info.item.pszText));
    if (value >= 0 && value <= options_.DelayMax && value != event.Data) {
      event.Data = value;
      m.Modified = 1;
    }
  }
  // The row shows the event again, in the "Delay n ms" form.
  delayEditRow_ = -1;
  RedrawRow(row);
}

bool CMacrosDlg::OnEventListNotify(NMHDR* header) {
  switch (header->code) {
    case NM_DBLCLK: {
      int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
      if (EditableMacro() >= 0 && IsDelayRow(row)) OpenDelayEditor(row);
      SetMsgResult(0);
      return true;
    }
    case NM_RCLICK: {
      // Hand edits would move the rows the recorder inserts at.
      if (!recorder_.Recording() && EditableMacro() >= 0)
        EventListMenu(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
      SetMsgResult(0);
      return true;
    }
    case LVN_BEGINLABELEDITW: {
      int row = reinterpret_cast<NMLVDISPINFOW*>(header)->item.iItem;
      if (IsDelayRow(row)) PrepareDelayEditor(row);
      SetMsgResult(FALSE);
      return true;
    }
    case LVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      if (IsDelayRow(info->item.iItem)) EndDelayEdit(*info);
      delayEditRow_ = -1;
      SetMsgResult(FALSE);  // the row's text comes from the event only
      return true;
    }
    case LVN_GETDISPINFOW: DescribeRow(*reinterpret_cast<NMLVDISPINFOW*>(header)); return true;
  }
  return false;
}

bool CMacrosDlg::OnNotify(int id, NMHDR* header) {
  if (header->hwndFrom == macroList_.Handle()) return OnMacroListNotify(header);
  if (header->hwndFrom == eventList_.Handle()) return OnEventListNotify(header);
  (void)id;
  return false;
}

// ---- Messages ---------------------------------------------------------------------------------

bool CMacrosDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
  switch (msg) {
    // The hook library's reports come first; the record is valid only during this call.
    case WM_HOOKMOUSE: {
      if (recorder_.Recording() && lp) {
        const auto* record = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
        recorder_.OnMouse(static_cast<uint32_t>(wp), record->mouseData, record->time);
      }
      result = 0;
      return true;
    }
    case WM_HOOKKEYBOARD: {
      if (recorder_.Recording() && lp) {
        const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
        recorder_.OnKeyboard(static_cast<uint32_t>(wp), record->vkCode, record->time);
      }
      result = 0;
      return true;
    }
    case WM_HOTKEY:
      if (static_cast<int>(wp) == kRecordingHotkeyId && LOWORD(lp) == MOD_ALT &&
          HIWORD(lp) == LOWORD(options_.RecordingHotkey))
        ToggleRecording();
      result = 0;
      return true;
    case WM_SHOWWINDOW:
      if (wp) RefreshTexts();
      return false;
    case WM_DESTROY:
      UnregisterHotKey(Handle(), kRecordingHotkeyId);
      MouseHookStop();
      KeyboardHookStop();
      SaveRecordingOptions(options_);
      return false;
  }
  return false;
}

}  // namespace corvane::ui
