// The Macros page: the macro library and the recording options. It owns the MacroLibrary for
// the whole run.
#pragma once

#include <memory>

#include "model/recording_options.h"
#include "model/records.h"
#include "ui/framework/controls.h"
#include "ui/page.h"

namespace corvane::ui {

class CMacrosDlg : public Page {
 public:
  explicit CMacrosDlg(PageHost& host);
  // The recording options are saved when the window goes, whoever ends the page.
  ~CMacrosDlg() override { Destroy(); }

  MacroLibrary& Library() { return *library_; }
  const MacroLibrary& Library() const { return *library_; }
  RecordingOptions& Options() { return options_; }

  // The library entry of the row selected in the macro list, or -1.
  int SelectedMacro() const;
  // Whether any macro of the library has unsaved changes.
  bool AnyModified() const;
  // The Save command: the names list, then the selected macro's events.
  void SaveSelected();

 protected:
  bool OnInitDialog() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

 private:
  void FillMacroList();

  std::unique_ptr<MacroLibrary> library_;
  RecordingOptions options_;
  ListView macroList_;
  ListView eventList_;
};

}  // namespace corvane::ui
