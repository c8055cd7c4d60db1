// The Macros page: the macro library, the events of the selected macro, the recording options
// and the recorder. It owns the MacroLibrary for the whole run, and its window receives the hook
// library's notifications and the start/stop hot key while recording.
#pragma once

#include <memory>
#include <string>

#include "macros/recorder.h"
#include "model/recording_options.h"
#include "model/records.h"
#include "ui/framework/controls.h"
#include "ui/page.h"

namespace corvane::ui {

class CMacrosDlg : public Page, private RecorderOwner {
 public:
  explicit CMacrosDlg(PageHost& host);
  ~CMacrosDlg() override;

  MacroLibrary& Library() { return *library_; }
  const MacroLibrary& Library() const { return *library_; }
  RecordingOptions& Options() { return options_; }
  const MacroRecorder& Recorder() const { return recorder_; }

  // The library entry of the row selected in the macro list, or -1.
  int SelectedMacro() const;
  // Whether any macro of the library has unsaved changes.
  bool AnyModified() const;
  // The Save command: the names list, then the selected macro's events. A failure is told.
  void SaveSelected();

 protected:
  bool OnInitDialog() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

 private:
  // RecorderOwner
  void EnableControls(bool recording) override;
  void ClearFocus() override;
  void StartHooks(bool mouse, bool keyboard) override;
  void StopHooks(bool mouse, bool keyboard) override;
  void ShowRecording(bool recording) override;
  void MinimiseMain() override;
  void RestoreMain() override;
  void FocusSave() override;
  void RowAdded(int index) override;
  void RowDeleted(int index) override;

  uint32_t AppliedLanguage() const;
  void RefreshTexts();
  bool IsDelayRow(int row) const;
  // The selected macro when the event list shows it, else -1: what hand edits act on.
  int EditableMacro() const;
  void SetUpEventList();
  void FillMacroList();
  void ShowMacro(int macro);  // fills the event list; -1 empties it
  void SyncEventRows();       // the row count follows the shown macro
  void DescribeRow(NMLVDISPINFOW& info) const;
  void RedrawRow(int row);
  std::u16string RowText(const MacroEvent& event) const;
  void ApplyEnabling(bool recordButton, bool recording);
  void RegisterRecordingHotkey();
  void ToggleRecording();
  void Tell(uint32_t stringId, const std::u16string& arg);

  void OnNew();
  void OnDelete();
  void OnRename();
  void OnImport();
  void OnExport();
  void OnUseHotkey();
  void OnHotkeyChoice();

  bool OnMacroListNotify(NMHDR* header);
  bool OnEventListNotify(NMHDR* header);
  void MacroListMenu(int row);
  void EventListMenu(int row);
  void EndMacroLabelEdit(const NMLVDISPINFOW& info);
  void InsertDelay(int row);
  void OpenDelayEditor(int row);
  void PrepareDelayEditor(int row);
  void EndDelayEdit(const NMLVDISPINFOW& info);
  void DeleteEventRow(int row);

  std::unique_ptr<MacroLibrary> library_;
  RecordingOptions options_;
  MacroRecorder recorder_;
  ListView macroList_;
  ListView eventList_;
  ComboBox hotkeyList_;
  Button recordButton_;
  int rememberedRow_ = -1;
  int shownMacro_ = -1;    // whose events the event list shows
  int delayEditRow_ = -1;  // the row whose delay editor is open
  bool ready_ = false;     // the lists are filled: selection changes show macros from now on
};

}  // namespace corvane::ui
