// A page of the main window: a modeless child dialog that ignores IDOK and IDCANCEL (so Enter
// and Escape inside it close nothing) and sets its captions when the language differs from
// the one it last applied.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/framework/dialog.h"

namespace corvane {
struct HardwareSettings;
namespace profile {
class Document;
}
}  // namespace corvane

namespace corvane::ui {

class SystemPointer;
class Prompts;
class CButtonsDlg;
class CMacrosDlg;
class CPointerDlg;
class CScrollingDlg;

// What a page reaches through its parent, the main window.
class PageHost {
 public:
  virtual ~PageHost() = default;
  virtual uint32_t Language() const = 0;
  virtual SystemPointer& Pointer() = 0;
  virtual Prompts& Asker() = 0;
  virtual const HardwareSettings& Hardware() const = 0;
  // Corvane.ini for a page that is being made, to read its keys from. The main window parses the
  // file once for all its pages.
  virtual const profile::Document& StoredSettings() = 0;
  virtual CButtonsDlg* ButtonsPage() { return nullptr; }
  virtual CMacrosDlg* MacrosPage() { return nullptr; }
  virtual CPointerDlg* PointerPage() { return nullptr; }
  virtual CScrollingDlg* ScrollingPage() { return nullptr; }
};

struct CaptionEntry {
  int ControlId;
  uint32_t StringId;
};

class Page : public Dialog {
 public:
  Page(PageHost& host, int templateId) : host_(host), template_(templateId) {}
  // A page made again (after a restore) starts from its template's captions, as the first did.
  bool CreatePage(HWND parent) {
    if (created_) appliedLanguage_ = templateLanguage_;
    templateLanguage_ = appliedLanguage_;
    created_ = true;
    return Create(template_, parent);
  }

 protected:
  static constexpr int64_t kNoLanguage = -1;

  bool OnCommand(int id, int code, HWND control) final;
  virtual bool OnPageCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }

  // Sets the table's captions when the host's language differs from the applied one.
  void RefreshCaptions(const CaptionEntry* table, size_t count);
  // Selects the main window's tab index and tells the main window so, as a click on it would.
  void SwitchToTab(int index) const;

  PageHost& host_;
  int64_t appliedLanguage_ = 1033;

 private:
  int template_;
  bool created_ = false;
  int64_t templateLanguage_ = kNoLanguage;
};

}  // namespace corvane::ui
