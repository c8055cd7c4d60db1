#include "ui/upload_progress.h"

namespace corvane::ui {

void DiscardInput() {
  MSG msg;
  static constexpr UINT kInput[][2] = {
      {WM_KEYFIRST, WM_KEYLAST},
      {WM_MOUSEFIRST, WM_MOUSELAST},
      {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},  // the frame and the caption too
  };
  for (const auto& range : kInput) {
    while (PeekMessageW(&msg, nullptr, range[0], range[1], PM_REMOVE)) {
    }
  }
}

void PaintPending() {
  MSG msg;
  // A window whose painting leaves it invalid would come back at once: a bound, not a loop.
  for (int i = 0; i < 256 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
    DispatchMessageW(&msg);
  }
}

UploadProgress::UploadProgress(HWND bar) : bar_(bar) {}

UploadProgress::~UploadProgress() {
  DiscardInput();
  bar_.Show(false);
  PaintPending();
}

void UploadProgress::OnReportSent(size_t sent, size_t total, bool) {
  if (sent == 1) {
    bar_.SetRange(static_cast<int>(total));
    bar_.Show(true);
  }
  bar_.SetPosition(static_cast<int>(sent));
  DiscardInput();
  PaintPending();
}

}  // namespace corvane::ui
