// The window-subclass base: puts an object in front of an existing window's procedure (a dialog's
// edit control, a button) with comctl32's SetWindowSubclass, so a derived class handles the
// messages it cares about and hands every other one to the procedure the window had before.
//
//   class CMyEdit : public Subclass {
//     bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
//   };
//   edit_.Attach(Handle(), IDC_SOMETHING);   // in the owner's OnInitDialog
//
// Lifetime: the subclass is removed when the window is destroyed (at WM_NCDESTROY, after the
// original procedure has seen every message) and when the object is destroyed or attached
// elsewhere, whichever comes first; the window then runs on without it. No exception leaves
// OnMessage towards the system: a handler that throws counts as not having handled the message.
//
// Only the thread that owns the window may attach, detach or destroy the object.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace corvane::ui {

class Subclass {
 public:
  Subclass() = default;
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;
  virtual ~Subclass();

  // Subclasses window (detaching first from any window this object had); false, and attached
  // to nothing, when window is null or the system refuses.
  bool Attach(HWND window);
  bool Attach(HWND dialog, int id) { return Attach(GetDlgItem(dialog, id)); }
  // Gives the window back its original procedure; nothing when not attached.
  void Detach();

  HWND Handle() const { return hwnd_; }
  bool IsAttached() const { return hwnd_ != nullptr; }

 protected:
  // One message of the window. Set result and return true when handled; return false to let
  // the original procedure handle it. The window's WM_NCDESTROY is seen here too (the window is
  // still valid); the subclass is removed right after.
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) {
    return false;
  }
  // The original procedure's handling of a message, for a handler that adds to it (only from
  // within OnMessage).
  LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp) {
    return DefSubclassProc(hwnd_, msg, wp, lp);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                    DWORD_PTR self);

  HWND hwnd_ = nullptr;
};

}  // namespace corvane::ui
