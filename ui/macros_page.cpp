#include "ui/macros_page.h"

#include <iterator>

#include "storage/macro_store.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "ui/framework/controls.h"
#include "ui/ids.h"

namespace corvane::ui {
namespace {

constexpr CaptionEntry kCaptions[] = {
    {kIdLabelRecordingOptions, IDS_RECORDING_OPTIONS}, {kIdRecordMouse, IDS_RECORD_MOUSE},
    {kIdRecordKeyboard, IDS_RECORD_KEYBOARD},           {kIdRecordDelay, IDS_RECORD_DELAY},
    {kIdRecordMinimize, IDS_RECORD_MINIMIZE},           {kIdRecordUseHotkey, IDS_RECORD_HOTKEY},
    {kIdMacroNew, IDS_NEW},                             {kIdMacroDelete, IDS_DELETE},
    {kIdMacroRename, IDS_RENAME},                       {kIdMacroSave, IDS_SAVE},
    {kIdMacroImport, IDS_IMPORT},                       {kIdMacroExport, IDS_EXPORT},
    {kIdRecord, IDS_START_RECORDING},
};

// The commands that act on a macro of the list, disabled while the library is empty.
constexpr int kMacroCommands[] = {kIdMacroDelete, kIdMacroRename, kIdMacroSave, kIdMacroExport,
                                  kIdRecord};

}  // namespace

CMacrosDlg::CMacrosDlg(PageHost& host)
    : Page(host, kTemplateMacros), library_(std::make_unique<MacroLibrary>()) {}

bool CMacrosDlg::OnInitDialog() {
  macroList_.Attach(Handle(), kIdMacroList);
  eventList_.Attach(Handle(), kIdEventList);
  LoadRecordingOptions(options_);
  RefreshCaptions(kCaptions, std::size(kCaptions));
  CheckItem(kIdRecordMouse, options_.RecordingMouse != 0);
  CheckItem(kIdRecordKeyboard, options_.RecordingKeyboard != 0);
  CheckItem(kIdRecordDelay, options_.RecordingDelay != 0);
  CheckItem(kIdRecordMinimize, options_.RecordingMinimize != 0);
  CheckItem(kIdRecordUseHotkey, options_.RecordingUseHotkey != 0);
  LoadMacroLibrary(*library_);
  macroList_.InsertColumn(0, u"Macros", 150);
  eventList_.InsertColumn(0, u"Events", 180);
  FillMacroList();
  bool any = library_->MacroCount > 0;
  for (int id : kMacroCommands) EnableItem(id, any);
  return true;
}

void CMacrosDlg::FillMacroList() {
  macroList_.DeleteAll();
  for (int i = 0; i < library_->MacroCount; ++i)
    macroList_.InsertText(i, std::u16string(library_->Macros[i].Name), i);
  macroList_.SelectOnly(library_->MacroCount > 0 ? 0 : -1);
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

void CMacrosDlg::SaveSelected() {
  int row = SelectedMacro();
  if (row < 0) return;
  SaveMacroNames(*library_, library_->MacroCount);
  SaveMacroEvents(library_->Macros[row]);
}

bool CMacrosDlg::OnPageCommand(int id, int code, HWND) {
  if (id == kIdMacroSave && code == BN_CLICKED) {
    SaveSelected();
    return true;
  }
  return false;
}

bool CMacrosDlg::OnMessage(UINT msg, WPARAM wp, LPARAM, INT_PTR&) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) RefreshCaptions(kCaptions, std::size(kCaptions));
      return false;
    case WM_DESTROY:
      SaveRecordingOptions(options_);
      return false;
  }
  return false;
}

}  // namespace corvane::ui
