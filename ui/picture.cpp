#include "ui/picture.h"

#include "ui/framework/scoped.h"

namespace corvane::ui {

void CPicture::Shape() {
  HWND window = Handle();
  if (!window) return;
  RECT client{}, outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&outer), 2);
  // Only the client width changes, so the frame around it keeps its width.
  const int shrink = client.right - client.bottom * 3 / 4;
  SetWindowPos(window, nullptr, outer.left + shrink, outer.top, outer.right - outer.left - shrink,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPicture::Show(const DevicePicture* picture) {
  picture_ = picture;
  HWND window = Handle();
  if (!window) return;
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}

void CPicture::Paint(HDC dc) const noexcept {
  HWND window = Handle();
  RECT box{};
  GetClientRect(window, &box);
  if (box.right <= 0 || box.bottom <= 0) return;

  // The background and the picture are composed off screen and put on screen in one copy, so a
  // change of picture never shows the blank box first. The background is the one the static
  // control itself would paint: the parent's answer to WM_CTLCOLORSTATIC.
  ScopedCompatibleDC buffer(dc);
  ScopedGdi<HBITMAP> canvas(CreateCompatibleBitmap(dc, box.right, box.bottom));
  if (!buffer || !canvas) return;
  ScopedSelect selectCanvas(buffer, canvas);
  HWND parent = GetParent(window);
  POINT origin{0, 0};
  MapWindowPoints(window, parent, &origin, 1);
  SetBrushOrgEx(buffer, -origin.x, -origin.y, nullptr);  // a patterned page background lines up
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(static_cast<HDC>(buffer)),
                   reinterpret_cast<LPARAM>(window)));
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

bool CPicture::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      // The static class has no background brush, so the system's erase would leave the previous
      // picture in place; the paint below fills the background itself.
      result = 1;
      return true;
    case WM_PAINT: {
      ScopedPaint paint(Handle());
      Paint(paint);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      result = 0;
      return true;
    default: return false;
  }
}

}  // namespace corvane::ui
