// RAII for GDI objects, device contexts, selections and the cursor.
#pragma once

#include <windows.h>

namespace corvane::ui {

template <typename H>
class ScopedGdi {
 public:
  explicit ScopedGdi(H h = nullptr) : h_(h) {}
  ~ScopedGdi() {
    if (h_) DeleteObject(h_);
  }
  ScopedGdi(const ScopedGdi&) = delete;
  ScopedGdi& operator=(const ScopedGdi&) = delete;
  H Get() const { return h_; }
  operator H() const { return h_; }

 private:
  H h_;
};

class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND w) : w_(w), dc_(GetDC(w)) {}
  ~ScopedGetDC() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

class ScopedPaint {
 public:
  explicit ScopedPaint(HWND w) : w_(w) { dc_ = BeginPaint(w, &ps_); }
  ~ScopedPaint() { EndPaint(w_, &ps_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND w_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

class ScopedCompatibleDC {
 public:
  explicit ScopedCompatibleDC(HDC ref) : dc_(CreateCompatibleDC(ref)) {}
  ~ScopedCompatibleDC() {
    if (dc_) DeleteDC(dc_);
  }
  ScopedCompatibleDC(const ScopedCompatibleDC&) = delete;
  ScopedCompatibleDC& operator=(const ScopedCompatibleDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~ScopedSelect() {
    if (old_) SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A menu loaded from a resource (LoadMenu), destroyed with the scope.
class ScopedMenu {
 public:
  explicit ScopedMenu(HMENU m = nullptr) : m_(m) {}
  ~ScopedMenu() {
    if (m_) DestroyMenu(m_);
  }
  ScopedMenu(const ScopedMenu&) = delete;
  ScopedMenu& operator=(const ScopedMenu&) = delete;
  void Reset(HMENU m) {
    if (m_) DestroyMenu(m_);
    m_ = m;
  }
  HMENU Get() const { return m_; }

 private:
  HMENU m_;
};

// The wait cursor for the length of a scope; the cursor that was current comes back at its end.
// A mouse move handled meanwhile asks the window under it for its cursor (WM_SETCURSOR): while
// Active(), windows answer with the wait cursor instead of their own (see Busy()).
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(Busy())) { ++depth_; }
  ~WaitCursor() {
    --depth_;
    SetCursor(previous_);
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  static bool Active() { return depth_ > 0; }
  static HCURSOR Busy() { return LoadCursorW(nullptr, IDC_WAIT); }

 private:
  static inline int depth_ = 0;
  HCURSOR previous_;
};

}  // namespace corvane::ui
