// The whole main window in demo mode, for the pages that reach the others through it (Buttons,
// Overview): a settings file and macro library written first, then the window, then its pages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_hid_platform.h"
#include "model/records.h"
#include "model/text.h"
#include "storage/macro_store.h"
#include "storage/settings.h"
#include "ui/buttons_page.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
#include "ui/ui_test_support.h"
#include "win32/input_support.h"

namespace corvane::uitest {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
    InitCommonControlsEx(&icc);
  }
  void TearDown() override { dlg_.reset(); }

  // Corvane.ini: demo mode, more keys of its section, and the given sections.
  void Settings(const std::string& sections, const std::string& application = "") {
    folder_.Write(L"Corvane.ini", "[Application]\r\nDemo=1\r\n" + application + sections);
  }
  // The pictures of the mouse as they ship.
  void ShipPictures() {
    std::filesystem::copy(std::filesystem::path(CORVANE_DATA_DIR) / "Devices",
                          folder_.Path() / L"Devices", std::filesystem::copy_options::recursive);
  }
  // Macros saved through the store, each with one key press.
  void Macros(const std::vector<std::u16string>& names) {
    auto library = std::make_unique<MacroLibrary>();
    for (size_t i = 0; i < names.size(); ++i) {
      Macro& m = library->Macros[i];
      CopyName(m.Name, kMacroNameUnits, names[i]);
      m.EventCount = 2;
      m.Events[0] = {kMsgKeyDown, 0x41};
      m.Events[1] = {kMsgKeyUp, 0x41};
      SaveMacroEvents(m);
    }
    library->MacroCount = static_cast<int32_t>(names.size());
    SaveMacroNames(*library, library->MacroCount);
  }
  // Stored assignments; rows not given keep code row (the left button Left-click and so on).
  void Assignments(const std::vector<ButtonAssignment>& rows, int count = 8) {
    ButtonAssignment all[kMaxAssignments]{};
    for (int k = 0; k < kMaxAssignments; ++k) {
      all[k].FunctionCode = k + 1;
      all[k].ExecutionInterval = 100;
    }
    for (size_t k = 0; k < rows.size(); ++k) all[k] = rows[k];
    ASSERT_TRUE(SaveButtonAssignments(all, count));
  }
  static ButtonAssignment Function(int32_t code) {
    ButtonAssignment a{};
    a.FunctionCode = code;
    a.ExecutionInterval = 100;
    return a;
  }
  static ButtonAssignment HotKey(uint16_t vk, uint16_t modifiers) {
    ButtonAssignment a = Function(kFunctionHotKey);
    a.HotKeyVk = vk;
    a.HotKeyModifiers = modifiers;
    return a;
  }
  static ButtonAssignment MacroRow(const std::u16string& name, int32_t mode, uint32_t interval) {
    ButtonAssignment a = Function(kFunctionMacro);
    CopyName(a.MacroName, kAssignmentNameUnits, name);
    a.ExecutionMode = mode;
    a.ExecutionInterval = interval;
    return a;
  }

  void Start() {
    // The pointer away from the window, so no menu button starts out hovered by where an
    // earlier program left it.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    dlg_ = std::make_unique<ui::CCorvaneDlg>(ui::Seams{hid_, sleeper_, pointer_, prompts_});
    ASSERT_TRUE(dlg_->CreateMain());
    ShowWindow(Main(), SW_SHOW);
    SetForegroundWindow(Main());
  }
  HWND Main() const { return dlg_->Handle(); }
  ui::CButtonsDlg& Buttons() const { return *dlg_->ButtonsPage(); }
  HWND Page() const { return Buttons().Handle(); }
  HWND Item(int id) const { return GetDlgItem(Page(), id); }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  std::u16string Text(int id) const { return WindowText(Item(id)); }
  const ButtonAssignment& Row(int k) const { return Buttons().Assignments()[k]; }

  // A click on a tab as the tab control reports it.
  void SelectTab(int index) { ShowTab(*dlg_, index); }
  void Pump() { dlg_->PumpPending(); }

  // A click on a push button, radio button or menu button: the control's own mouse handling.
  void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
  }
  // Chooses entry index of a drop-down list with an arrow key from its neighbour, so the list
  // reports the change itself.
  void ChooseEntry(HWND combo, int index) {
    SetFocus(combo);
    UINT key = index == 0 ? VK_UP : VK_DOWN;
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index == 0 ? 1 : index - 1), 0);
    SendMessageW(combo, WM_KEYDOWN, key, 0);
    SendMessageW(combo, WM_KEYUP, key, 0);
    Pump();
  }
  // Keys pressed as a user presses them: real input, the modifiers first and released last,
  // handled through the window's own loop (its pre-translation and dialog manager).
  void Press(std::initializer_list<WORD> keys) {
    std::vector<INPUT> in;
    for (WORD k : keys) in.push_back(testinput::KeyInput(k, false));
    for (auto k = keys.end(); k != keys.begin();) in.push_back(testinput::KeyInput(*--k, true));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    Drain(*dlg_);
  }
  // The focus on a control, as a click or the Tab key would put it there.
  void FocusOn(HWND w) {
    SendMessageW(Main(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
    Drain(*dlg_);
  }

  // Types text into an edit control as keys would.
  void Type(HWND edit, const std::u16string& text) {
    for (char16_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
    Pump();
  }

  TempAppFolder folder_;
  fakes::FakeHidPlatform hid_;
  fakes::RecordingSleeper sleeper_;
  FakePointer pointer_;
  FakePrompts prompts_;
  std::unique_ptr<ui::CCorvaneDlg> dlg_;
};

}  // namespace corvane::uitest
