#include "ui/framework/subclass.h"

namespace corvane::ui {

Subclass::~Subclass() { Detach(); }

bool Subclass::Attach(HWND window) {
  Detach();
  if (!window) return false;
  // The object's address is the subclass id, so several objects may subclass one window.
  if (!SetWindowSubclass(window, Procedure, reinterpret_cast<UINT_PTR>(this),
                         reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  hwnd_ = window;
  return true;
}

void Subclass::Detach() {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, Procedure, reinterpret_cast<UINT_PTR>(this));
  hwnd_ = nullptr;
}

LRESULT CALLBACK Subclass::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                     DWORD_PTR data) {
  auto* self = reinterpret_cast<Subclass*>(data);
  LRESULT result = 0;
  bool handled = false;
  // No exception may unwind through the system's code; a throwing handler has not handled it.
  try {
    handled = self->OnMessage(msg, wp, lp, result);
  } catch (...) {
    handled = false;
  }
  if (msg == WM_NCDESTROY) {
    // The window's last message: let go of it before the original procedure frees its state.
    self->Detach();
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  return handled ? result : DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace corvane::ui
