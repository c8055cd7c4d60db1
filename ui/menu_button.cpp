#include "ui/menu_button.h"

#include <vssym32.h>

#include <string>

#include "ui/device_pictures.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/dpi.h"
#include "ui/ids.h"

namespace corvane::ui {
namespace {

// Space between the face's edge, the text and the arrow, in pixels at 96 DPI.
constexpr int kPadding = 4;
// The arrow's side at 96 DPI.
constexpr int kArrowSide = 16;

HFONT CreateMenuFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return CreateFontIndirectW(&metrics.lfMenuFont);
}

// The arrow is stored with straight alpha; AlphaBlend wants each colour already multiplied by it.
HBITMAP LoadArrowBitmap(int id) {
  auto bitmap = static_cast<HBITMAP>(LoadImageW(Dialog::Instance(), MAKEINTRESOURCEW(id),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  DIBSECTION dib{};
  if (!bitmap || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) ||
      dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  GdiFlush();
  auto* pixel = static_cast<BYTE*>(dib.dsBm.bmBits);
  size_t count = static_cast<size_t>(dib.dsBm.bmWidth) * static_cast<size_t>(dib.dsBm.bmHeight);
  for (size_t i = 0; i < count; ++i, pixel += 4) {
    unsigned alpha = pixel[3];
    for (int c = 0; c < 3; ++c) pixel[c] = static_cast<BYTE>(pixel[c] * alpha / 255);
  }
  return bitmap;
}

// The 16 x 16 arrow at 96 DPI; at another DPI the large one resampled to the arrow's size there.
HBITMAP LoadArrow(int dpi) {
  if (dpi == kBaseDpi) return LoadArrowBitmap(kBitmapDropDownArrow);
  ScopedGdi<HBITMAP> large(LoadArrowBitmap(kBitmapDropDownArrowLarge));
  DecoderSession scaler;
  int side = ScaleForDpi(kArrowSide, dpi);
  HBITMAP scaled = large && scaler.Started() ? ScaledBitmap(large, side, side) : nullptr;
  return scaled ? scaled : LoadArrowBitmap(kBitmapDropDownArrow);
}

}  // namespace

MenuButtonLook::MenuButtonLook(int dpi)
    : font_(CreateMenuFont()), arrow_(LoadArrow(dpi)), padding_(ScaleForDpi(kPadding, dpi)) {
  BITMAP bm{};
  if (arrow_ && GetObjectW(arrow_, sizeof(bm), &bm)) arrowSize_ = {bm.bmWidth, bm.bmHeight};
}

bool CMenuButton::Attach(HWND dialog, int id, const MenuButtonLook& look) {
  look_ = &look;
  if (!Subclass::Attach(dialog, id)) return false;
  auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
  SendMessageW(Handle(), BM_SETSTYLE, (style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW,
               TRUE);
  CloseTheme();
  theme_ = OpenThemeData(Handle(), L"BUTTON");
  return true;
}

void CMenuButton::CloseTheme() {
  if (theme_) CloseThemeData(theme_);
  theme_ = nullptr;
}

void CMenuButton::SetHovered(bool hovered) {
  if (hovered_ == hovered) return;
  hovered_ = hovered;
  InvalidateRect(Handle(), nullptr, FALSE);
}

bool CMenuButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!hovered_) {
        SetHovered(true);
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&track);
        if (OnHoverStart) OnHoverStart();
      }
      return false;
    case WM_MOUSELEAVE: SetHovered(false); return false;
    case WM_SETCURSOR:
      if (WaitCursor::Active()) return false;  // the main window keeps the wait cursor
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      result = TRUE;
      return true;
    case WM_SETFOCUS:
      result = CallOriginal(msg, wp, lp);
      if (OnFocus) OnFocus();
      return true;
    case WM_THEMECHANGED:
      CloseTheme();
      theme_ = OpenThemeData(Handle(), L"BUTTON");
      return false;
    case WM_NCDESTROY: CloseTheme(); return false;
  }
  return false;
}

RECT CMenuButton::TextArea(int width, int height) const {
  // Padded from the face's edges, and from the arrow at the right.
  int padding = look_ ? look_->Padding() : kPadding;
  RECT text{padding, 0, width - padding, height};
  if (look_ && look_->Arrow()) text.right -= look_->ArrowSize().cx + padding;
  return text;
}

RECT CMenuButton::TextRect() const {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  return TextArea(client.right - client.left, client.bottom - client.top);
}

void CMenuButton::Draw(const DRAWITEMSTRUCT& item) const {
  const RECT& area = item.rcItem;
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || !look_) return;
  bool disabled = (item.itemState & ODS_DISABLED) != 0;
  bool pressed = (item.itemState & ODS_SELECTED) != 0;

  // Drawn off screen and copied in one go, so the face never flickers.
  ScopedCompatibleDC dc(item.hDC);
  ScopedGdi<HBITMAP> buffer(CreateCompatibleBitmap(item.hDC, width, height));
  if (!dc || !buffer) return;
  ScopedSelect useBuffer(dc, buffer);
  RECT face{0, 0, width, height};
  FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  if (theme_) {
    int state = disabled ? PBS_DISABLED : pressed ? PBS_PRESSED : hovered_ ? PBS_HOT : PBS_NORMAL;
    DrawThemeBackground(theme_, dc, BP_PUSHBUTTON, state, &face, nullptr);
  } else if (pressed) {
    DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT);
  } else {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
  }

  RECT text = TextArea(width, height);
  if (HBITMAP arrow = look_->Arrow()) {
    SIZE size = look_->ArrowSize();
    int x = text.right + look_->Padding();
    ScopedCompatibleDC source(static_cast<HDC>(dc));
    ScopedSelect useArrow(source, arrow);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, (height - size.cy) / 2, size.cx, size.cy, source, 0, 0, size.cx, size.cy,
               blend);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : hovered_ ? kHoverColor : kTextColor);
  ScopedSelect useFont(dc, look_->Font());
  std::u16string caption = Control(item.hwndItem).Text();
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), -1, &text, kTextFormat);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = face;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
  BitBlt(item.hDC, area.left, area.top, width, height, dc, 0, 0, SRCCOPY);
}

}  // namespace corvane::ui
