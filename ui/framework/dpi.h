// The DPI the program draws for. The process is system DPI aware (its manifest says so): the
// system gives it one DPI for the whole run, the one the session started with, and stretches
// nothing. Dialog templates scale with their font by themselves; whatever the program draws in
// pixels (pictures, bitmaps, icon sizes, column widths) is scaled from its size at 96 DPI.
#pragma once

#include <windows.h>

namespace corvane::ui {

inline constexpr int kBaseDpi = 96;

// The system DPI (the screen's logical pixels per inch).
inline int SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

// A length of pixels at 96 DPI, at dpi, rounded to the nearest pixel.
inline int ScaleForDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, kBaseDpi); }
inline int ScaleForDpi(int pixels) { return ScaleForDpi(pixels, SystemDpi()); }

}  // namespace corvane::ui
