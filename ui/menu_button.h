// CMenuButton: the flat button of a row on the Buttons page that names the row's function and
// opens the function menu. It draws itself: the visual theme's button face (a flat frame
// without a theme), the text left-aligned in the menu font, black and blue while the mouse is
// over it, the drop-down arrow on the right. It shows the hand cursor and tells its owner when
// the mouse starts hovering over it and when it gains the keyboard focus.
//
// The push button becomes owner-drawn when attached, so the system never paints its own face
// over ours; the owner hands the WM_DRAWITEM it receives for the button to Draw.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <functional>

#include "ui/framework/dpi.h"
#include "ui/framework/scoped.h"
#include "ui/framework/subclass.h"

namespace corvane::ui {

// What every menu button of a page draws with: the menu font and the arrow, made once for the
// DPI (the system's menu font is already for it).
class MenuButtonLook {
 public:
  // For the system DPI, or another for a test.
  explicit MenuButtonLook(int dpi = SystemDpi());
  MenuButtonLook(const MenuButtonLook&) = delete;
  MenuButtonLook& operator=(const MenuButtonLook&) = delete;

  HFONT Font() const { return font_; }
  // 32-bit with premultiplied alpha, ready for AlphaBlend; null when the resource is missing.
  HBITMAP Arrow() const { return arrow_; }
  SIZE ArrowSize() const { return arrowSize_; }
  // Space between the face's edges, the text and the arrow.
  int Padding() const { return padding_; }

 private:
  ScopedGdi<HFONT> font_;
  ScopedGdi<HBITMAP> arrow_;
  SIZE arrowSize_{};
  int padding_;
};

class CMenuButton : public Subclass {
 public:
  // Text colours: the normal text and the text while the mouse is over the button.
  static constexpr COLORREF kTextColor = RGB(0, 0, 0);
  static constexpr COLORREF kHoverColor = RGB(0, 0, 255);

  CMenuButton() = default;
  ~CMenuButton() override { CloseTheme(); }

  // Subclasses the dialog's button id and makes it owner-drawn. look must outlive the button.
  bool Attach(HWND dialog, int id, const MenuButtonLook& look);

  // Called when the mouse starts hovering over the button, and when it gains the focus.
  std::function<void()> OnHoverStart;
  std::function<void()> OnFocus;

  bool Hovered() const { return hovered_; }
  void Draw(const DRAWITEMSTRUCT& item) const;

  // How the text is drawn: in Font(), on one line within TextRect() (client coordinates, left
  // of the arrow), ending in an ellipsis where it does not fit. Whoever measures what the button
  // shows measures with these.
  static constexpr UINT kTextFormat =
      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  RECT TextRect() const;
  HFONT Font() const { return look_ ? look_->Font() : nullptr; }

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void SetHovered(bool hovered);
  void CloseTheme();
  // The text's rectangle on a face of width by height pixels.
  RECT TextArea(int width, int height) const;

  const MenuButtonLook* look_ = nullptr;
  // The button theme, opened once (opening it is slow) and again when the system's theme
  // changes; null without visual styles.
  HTHEME theme_ = nullptr;
  bool hovered_ = false;
};

}  // namespace corvane::ui
