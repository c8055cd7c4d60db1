#include "ui/framework/dialog.h"

#include <exception>

#include "ui/framework/controls.h"

namespace corvane::ui {

Dialog::~Dialog() {
  // The derived parts of this object are gone: the window forgets us before it is destroyed,
  // so none of its last messages reaches a handler of a half-destroyed object.
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
  }
}

std::u16string Dialog::ItemText(int id) const { return Control(Item(id)).Text(); }

HINSTANCE Dialog::Instance() { return GetModuleHandleW(nullptr); }

bool Dialog::Create(int templateId, HWND parent) {
  if (hwnd_) return true;
  modal_ = false;
  ended_ = false;
  HWND h = CreateDialogParamW(Instance(), MAKEINTRESOURCEW(templateId), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this));
  return h != nullptr;
}

INT_PTR Dialog::RunModal(int templateId, HWND owner) {
  modal_ = true;
  INT_PTR r = DialogBoxParamW(Instance(), MAKEINTRESOURCEW(templateId), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  return r;
}

void Dialog::Destroy() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void Dialog::EndModal(INT_PTR result) {
  if (modal_) {
    EndDialog(hwnd_, result);
    return;
  }
  result_ = result;
  ended_ = true;
  PostMessageW(hwnd_, WM_NULL, 0, 0);  // wake the loop
}

bool Dialog::Translate(MSG& msg) {
  if (PreTranslate(msg)) return true;
  return hwnd_ && IsDialogMessageW(hwnd_, &msg);
}

INT_PTR Dialog::RunOwnLoop() {
  if (!hwnd_) return -1;
  ShowWindow(hwnd_, SW_SHOW);
  MSG msg;
  while (!ended_) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT: hand it on to whoever loops outside us
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (!Translate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  Destroy();
  return result_;
}

bool Dialog::PumpPending() {
  MSG msg;
  while (!ended_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!Translate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return !ended_;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Dialog* self;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  // No exception may unwind through the system's code.
  try {
    INT_PTR r = self->Dispatch(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      self->hwnd_ = nullptr;
    }
    return r;
  } catch (...) {
    return FALSE;
  }
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wp);
      if (OnCommand(id, HIWORD(wp), reinterpret_cast<HWND>(lp))) return TRUE;
      if (modal_ && (id == IDOK || id == IDCANCEL)) {
        EndDialog(hwnd_, id);
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      return OnNotify(static_cast<int>(header->idFrom), header) ? TRUE : FALSE;
    }
    default: {
      INT_PTR result = 0;
      if (OnMessage(msg, wp, lp, result)) return result;
      return FALSE;
    }
  }
}

}  // namespace corvane::ui
