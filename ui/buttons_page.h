// The Buttons page: the sixteen button assignments, which it owns for the whole run, edited row by
// row (a drop-down list or a menu button per row), with the detail area of the current button
// (its hot key, or its macro with execution mode and interval) and the picture of the mouse.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "model/records.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "ui/device_pictures.h"
#include "ui/framework/controls.h"
#include "ui/framework/scoped.h"
#include "ui/hot_key.h"
#include "ui/ids.h"
#include "ui/menu_button.h"
#include "ui/page.h"
#include "ui/picture.h"

namespace corvane::ui {

// The controls of one row and the string of its label.
struct ButtonRow {
  int Label;
  int Combo;
  int Menu;
  uint32_t LabelString;
};

// The page's eight rows: left, right, middle, forward, backward, general 1 to 3.
inline constexpr int kButtonRows = 8;
inline constexpr ButtonRow kButtonRowIds[kButtonRows] = {
    {IDC_LABEL_LEFT_BUTTON, IDC_COMBO_LEFT_BUTTON, IDC_MENU_LEFT_BUTTON, IDS_LEFT_BUTTON},
    {IDC_LABEL_RIGHT_BUTTON, IDC_COMBO_RIGHT_BUTTON, IDC_MENU_RIGHT_BUTTON, IDS_RIGHT_BUTTON},
    {IDC_LABEL_MIDDLE_BUTTON, IDC_COMBO_MIDDLE_BUTTON, IDC_MENU_MIDDLE_BUTTON, IDS_MIDDLE_BUTTON},
    {IDC_LABEL_FORWARD_BUTTON, IDC_COMBO_FORWARD_BUTTON, IDC_MENU_FORWARD_BUTTON,
     IDS_FORWARD_BUTTON},
    {IDC_LABEL_BACKWARD_BUTTON, IDC_COMBO_BACKWARD_BUTTON, IDC_MENU_BACKWARD_BUTTON,
     IDS_BACKWARD_BUTTON},
    {IDC_LABEL_GENERAL1, IDC_COMBO_GENERAL1, IDC_MENU_GENERAL1, IDS_GENERAL_BUTTON1},
    {IDC_LABEL_GENERAL2, IDC_COMBO_GENERAL2, IDC_MENU_GENERAL2, IDS_GENERAL_BUTTON2},
    {IDC_LABEL_GENERAL3, IDC_COMBO_GENERAL3, IDC_MENU_GENERAL3, IDS_GENERAL_BUTTON3},
};

class CButtonsDlg : public Page {
 public:
  explicit CButtonsDlg(PageHost& host);

  ButtonAssignment* Assignments() { return assignments_; }
  const ButtonAssignment* Assignments() const { return assignments_; }
  const ButtonSettings& Options() const { return options_; }

  bool ComboMode() const { return options_.UseComboBox != 0; }
  // Rows in use: the button count, at most the page's eight rows.
  int RowCount() const { return rows_; }
  int CurrentButton() const { return current_; }
  // The text of row's visible selector, as the Overview shows it.
  std::u16string SelectorText(int row) const;
  // The picture slot the device picture shows, -1 for none.
  int ShownPicture() const;
  const DevicePictures& Pictures() const { return pictures_; }
  // The function menu button of row (0 to kButtonRows - 1), attached in menu mode.
  const CMenuButton& MenuButton(int row) const { return menus_[row]; }

  // The Macros page removed or renamed library entry index: each button stays on its own macro,
  // and the rows show its name.
  void MacroRemoved(int index);
  void MacroRenamed(int index);

 protected:
  bool OnInitDialog() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

 private:
  // Posted to ourselves: the interval field takes the focus back once the move that took it
  // away has finished. wParam is the row that was current.
  static constexpr UINT kMsgFocusInterval = WM_APP + 20;

  const MacroLibrary& Library() const;
  HWND Selector(int row) const;
  std::u16string FunctionText(int32_t code) const;
  // The text of code on row: the function's name, and for the hot key and the macro the row's
  // combination or macro name after it.
  std::u16string ComposedText(int row, int32_t code);
  void FillSelectors();
  void FillMacroList();
  void OnShow();
  void MakeCurrent(int row);
  void ApplyDetailRule();
  void ShowHotKeyRow(bool show);
  void ShowMacroGroup(bool show);
  void ShowIntervalRow(bool show);
  void SetSelectorText(int row);
  // Every row's selector again, after a macro's name changed or its link went.
  void ShowMacroNames();
  void TellMacroNotFound();
  void ChooseInCombo(int row);
  // The row's function from its list's selection; false for a row the mouse lacks.
  bool TakeComboSelection(int row);
  void ComboNotified(int row, int code);
  // After a choice of function: the current row's details, and the focus on the hot key field
  // or the macro list when the function needs one.
  void ShowChosenDetails();
  void ChooseFromMenu(int row);
  void ChooseMacro();
  void SetExecutionMode(int32_t mode);
  uint32_t IntervalValue() const;
  void IntervalChanged();
  void IntervalLeft();
  void HotKeyChanged();
  void HotKeyLeft();
  void RestoreDefaults();
  void BuildFunctionMenu();

  ButtonSettings options_{};
  ButtonAssignment assignments_[kMaxAssignments]{};
  int rows_ = 7;
  // The right button: the left one cannot be changed here.
  static constexpr int kFirstCurrentRow = 1;
  int current_ = kFirstCurrentRow;
  bool settingHotKey_ = false;
  bool settingInterval_ = false;

  DevicePictures pictures_;  // before the control that shows them
  CPicture picture_;
  CHotKey hotKey_;
  MenuButtonLook look_;
  CMenuButton menus_[kButtonRows];
  ComboBox combos_[kButtonRows];
  // A row's list while it is open: whether it accepted a choice and whether it closed.
  struct ComboDrop {
    bool Open = false;
    bool Accepted = false;
    bool Closed = false;
  };
  ComboDrop drops_[kButtonRows];
  ComboBox macroList_;
  ScopedMenu menuResource_;       // the function menu's resource
  HMENU functionMenu_ = nullptr;  // its popup
};

}  // namespace corvane::ui
