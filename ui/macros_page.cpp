#include "ui/macros_page.h"

#include <iterator>

#include "storage/macro_store.h"
#include "storage/settings.h"
#include "ui/framework/controls.h"
#include "ui/ids.h"

namespace corvane::ui {
namespace {

constexpr CaptionEntry kCaptions[] = {
    {1085, 223}, {1086, 224}, {1087, 225}, {1088, 226}, {1089, 227}, {1090, 228},
    {1092, 185}, {1093, 186}, {1095, 188}, {1096, 189}, {1097, 190}, {1098, 191},
    {1099, 230},
};

constexpr int kIdEventList = 1084;
constexpr int kIdSave = 1096;
constexpr int kRowButtons[] = {1093, 1095, 1096, 1098, 1099};

}  // namespace

CMacrosDlg::CMacrosDlg(PageHost& host)
    : Page(host, kTemplateMacros), library_(std::make_unique<MacroLibrary>()) {}

bool CMacrosDlg::OnInitDialog() {
  LoadRecordingOptions(options_);
  RefreshCaptions(kCaptions, std::size(kCaptions));
  const int checks[] = {options_.RecordingMouse, options_.RecordingKeyboard,
                        options_.RecordingDelay, options_.RecordingMinimize,
                        options_.RecordingUseHotkey};
  for (int i = 0; i < 5; ++i) Button(Handle(), 1086 + i).SetCheck(checks[i] != 0);
  LoadMacroLibrary(*library_);
  ListView list(Handle(), kIdMacroList);
  list.InsertColumn(0, u"Macros", 150);
  ListView(Handle(), kIdEventList).InsertColumn(0, u"Events", 180);
  FillMacroList();
  bool any = library_->MacroCount > 0;
  for (int id : kRowButtons) Control(Handle(), id).Enable(any);
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
  if (id == kIdSave && code == BN_CLICKED) {
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
