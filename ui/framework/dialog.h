// The dialog base: one static dialog procedure that finds its object through DWLP_USER and
// dispatches to virtual handlers. Used for the modal main window (with a message loop of our
// own), for modal boxes and for the pages, which are modeless child dialogs.
//
// The end of a window. Destroy(), the destruction of the parent window and the end of
// RunOwnLoop destroy the window while the object is whole, so its handlers see WM_DESTROY and
// can save what they hold. A window still alive when ~Dialog runs is past that point: the
// derived object is already gone, so ~Dialog first detaches the window from the object and then
// destroys it without any handler running. No order of destruction can therefore call into a
// half-destroyed object. A class whose WM_DESTROY handling matters calls Destroy() in its own
// destructor, so that handling runs however the object ends (the main window and the Macros
// page do).
#pragma once

#include <windows.h>

#include <string>

namespace corvane::ui {

class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  HWND Handle() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  bool IsCreated() const { return hwnd_ != nullptr; }

  // The child with that id, in one call each.
  void EnableItem(int id, bool enable) const { EnableWindow(Item(id), enable ? TRUE : FALSE); }
  void ShowItem(int id, bool show) const { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
  void CheckItem(int id, bool check) const {
    CheckDlgButton(hwnd_, id, check ? BST_CHECKED : BST_UNCHECKED);
  }
  bool IsItemChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
  void SetItemText(int id, const std::u16string& text) const {
    SetDlgItemTextW(hwnd_, id, reinterpret_cast<const wchar_t*>(text.c_str()));
  }
  std::u16string ItemText(int id) const;

  // A modeless dialog (a page, or the main window before its loop runs).
  bool Create(int templateId, HWND parent);
  // The system's modal loop (About box).
  INT_PTR RunModal(int templateId, HWND owner);
  void Destroy();

  // Our own modal loop for a dialog made with Create: runs until EndModal.
  INT_PTR RunOwnLoop();
  // Handles the messages already queued, as the loop would; false once the loop was ended.
  bool PumpPending();
  void EndModal(INT_PTR result);
  bool Ended() const { return ended_; }
  INT_PTR Result() const { return result_; }

  static HINSTANCE Instance();

 protected:
  // Return value of WM_INITDIALOG: true lets the system set the default focus.
  virtual bool OnInitDialog() { return true; }
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual bool OnNotify(int /*id*/, NMHDR* /*header*/) { return false; }
  // Any other message; set result and return true when handled.
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, INT_PTR& /*result*/) {
    return false;
  }
  // Filter before IsDialogMessage in our own loop; true swallows the message.
  virtual bool PreTranslate(MSG& /*msg*/) { return false; }

  // The value a notification returns (DWLP_MSGRESULT).
  void SetMsgResult(LRESULT value) { SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, value); }

  // Whether the dialog was made by RunModal (IDOK/IDCANCEL then end it by default).
  bool modal_ = false;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  bool Translate(MSG& msg);

  HWND hwnd_ = nullptr;
  bool ended_ = false;
  INT_PTR result_ = 0;
};

}  // namespace corvane::ui
