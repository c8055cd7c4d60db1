#include "ui/picture.h"

#include <commctrl.h>

#include "ui/framework/scoped.h"

namespace corvane::ui {

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

bool CPicture::Attach(HWND dialog, int id) {
  Detach();
  HWND control = GetDlgItem(dialog, id);
  if (!control || !SetWindowSubclass(control, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  hwnd_ = control;
  return true;
}

void CPicture::Detach() {
  if (hwnd_) RemoveWindowSubclass(hwnd_, Proc, kSubclassId);
  hwnd_ = nullptr;
  picture_ = nullptr;
}

void CPicture::Shape() {
  if (!hwnd_) return;
  RECT client{}, outer{};
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &outer);
  MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&outer), 2);
  // Only the client width changes, so the frame around it keeps its width.
  const int shrink = client.right - client.bottom * 3 / 4;
  SetWindowPos(hwnd_, nullptr, outer.left + shrink, outer.top, outer.right - outer.left - shrink,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPicture::Show(const DevicePicture* picture) {
  picture_ = picture;
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void CPicture::Paint(HDC dc) const noexcept {
  RECT box{};
  GetClientRect(hwnd_, &box);
  if (box.right <= 0 || box.bottom <= 0) return;

  // The background and the picture are composed off screen and put on screen in one copy, so a
  // change of picture never shows the blank box first. The background is the one the static
  // control itself would paint: the parent's answer to WM_CTLCOLORSTATIC.
  ScopedCompatibleDC buffer(dc);
  ScopedGdi<HBITMAP> canvas(CreateCompatibleBitmap(dc, box.right, box.bottom));
  if (!buffer || !canvas) return;
  ScopedSelect selectCanvas(buffer, canvas);
  HWND parent = GetParent(hwnd_);
  POINT origin{0, 0};
  MapWindowPoints(hwnd_, parent, &origin, 1);
  SetBrushOrgEx(buffer, -origin.x, -origin.y, nullptr);  // a patterned page background lines up
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(static_cast<HDC>(buffer)),
                                                     reinterpret_cast<LPARAM>(hwnd_)));
  FillRect(buffer, &box, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));

  if (picture_ && !picture_->Empty()) {
    const int w = picture_->Width(), h = picture_->Height();
    // Integer division truncates toward zero: a larger picture is cut equally on both sides.
    const int x = (box.right - w) / 2, y = (box.bottom - h) / 2;
    ScopedCompatibleDC source(dc);
    ScopedSelect selectPicture(source, picture_->Bitmap());
    if (picture_->HasAlpha()) {
      BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      AlphaBlend(buffer, x, y, w, h, source, 0, 0, w, h, blend);
    } else {
      BitBlt(buffer, x, y, w, h, source, 0, 0, SRCCOPY);
    }
  }
  BitBlt(dc, 0, 0, box.right, box.bottom, buffer, 0, 0, SRCCOPY);
}

LRESULT CALLBACK CPicture::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                DWORD_PTR data) {
  auto* self = reinterpret_cast<CPicture*>(data);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint below fills the background itself
    case WM_PAINT: {
      ScopedPaint paint(hwnd);
      self->Paint(paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      self->Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, Proc, id);
      self->hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace corvane::ui
