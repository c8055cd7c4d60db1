// Apply's progress in the main window. The upload runs synchronously on the window's thread and
// must stay the only thing that happens until Apply returns, yet it lasts up to about nine
// seconds. After each report the bar moves, what needs painting is painted, and mouse and
// keyboard input that arrived meanwhile is thrown away. Looking at the queue also tells the
// system that the window is alive, so it is not marked as not responding.
#pragma once

#include <windows.h>

#include <cstddef>

#include "device/upload.h"
#include "ui/framework/controls.h"

namespace corvane::ui {

class UploadProgress final : public UploadObserver {
 public:
  // bar: hidden until the first report goes out.
  explicit UploadProgress(HWND bar);
  // Hides the bar and throws away the input that came after the last report.
  ~UploadProgress() override;
  UploadProgress(const UploadProgress&) = delete;
  UploadProgress& operator=(const UploadProgress&) = delete;

  void OnReportSent(size_t sent, size_t total, bool succeeded) override;

 private:
  ProgressBar bar_;
};

// Removes the queued mouse and keyboard messages of this thread, posted or from the user.
void DiscardInput();

// Dispatches the paint messages of this thread's windows; nothing else.
void PaintPending();

}  // namespace corvane::ui
