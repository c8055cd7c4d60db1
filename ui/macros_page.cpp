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
  LoadRecordingOptions(options_);
  RefreshCaptions(kCaptions, std::size(kCaptions));
  const int checks[] = {options_.RecordingMouse, options_.RecordingKeyboard,
                        options_.RecordingDelay, options_.RecordingMinimize,
                        options_.RecordingUseHotkey};
  for (int i = 0; i < 5; ++i) Button(Handle(), kIdRecordMouse + i).SetCheck(checks[i] != 0);
  LoadMacroLibrary(*library_);
  ListView list(Handle(), kIdMacroList);
  list.InsertColumn(0, u"Macros", 150);
  ListView(Handle(), kIdEventList).InsertColumn(0, u"Events", 180);
  FillMacroList();
  bool any = library_->MacroCount > 0;
  for (int id : kMacroCommands) Control(Handle(), id).Enable(any);
  return true;
}

void CMacrosDlg::FillMacroList() {
  ListView list(Handle(), kIdMacroList);
  list.DeleteAll();
  for (int i = 0; i < library_->MacroCount; ++i)
    list.InsertText(i, std::u16string(library_->Macros[i].Name), i);
  list.SelectOnly(library_->MacroCount > 0 ? 0 : -1);
}

int CMacrosDlg::SelectedMacro() const {
  if (!IsCreated()) return -1;
  int row = ListView(Handle(), kIdMacroList).NextSelected();
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
