// Registration of a window for the arrival and removal of HID interfaces.
#pragma once

#include <windows.h>

namespace corvane::ui {

// Null when the system refuses; the window then simply hears of no device changes.
HDEVNOTIFY RegisterForHidChanges(HWND window);

}  // namespace corvane::ui
