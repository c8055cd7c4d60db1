// Real input for Wine tests: SendInput records for keys and mouse events (they pass the
// low-level hooks as a user's input would), message pumps that wait for what they cause, and
// the visible window such input goes to.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace corvane::testinput {

// A key going down or up; the scan code is the system's for vk.
inline INPUT KeyInput(WORD vk, bool up, bool extended = false, DWORD time = 0) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  in.ki.time = time;
  return in;
}

// A mouse event at the pointer's position (MOUSEEVENTF_*; data is the wheel delta or X button).
inline INPUT MouseInput(DWORD flags, DWORD data = 0, DWORD time = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  in.mi.time = time;
  return in;
}

// Handles the queued messages once; through IsDialogMessage of dialog when one is given, as the
// program's loop does.
inline void PumpOnce(HWND dialog = nullptr) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog && IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Handles messages until done() holds (true) or two seconds have passed (false).
inline bool PumpUntil(const std::function<bool()>& done, HWND dialog = nullptr) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (;;) {
    PumpOnce(dialog);
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Handles what is queued until nothing more arrives for a moment, so the messages that input
// is still producing have been handled too.
inline void Drain(HWND dialog = nullptr) {
  for (int quiet = 0; quiet < 2;) {
    PumpOnce(dialog);
    quiet = MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT) == WAIT_TIMEOUT
                ? quiet + 1
                : 0;
  }
}

// A visible top-level window of its own class (registered here with proc), made once for a whole
// suite: Wine takes seconds to show and to end a foreground window.
inline HWND MakeSuiteWindow(const wchar_t* className, WNDPROC proc, const wchar_t* title,
                            DWORD exStyle, RECT at, HBRUSH background = nullptr) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  RegisterClassW(&wc);
  return CreateWindowExW(exStyle, className, title, WS_POPUP | WS_VISIBLE, at.left, at.top,
                         at.right - at.left, at.bottom - at.top, nullptr, nullptr, wc.hInstance,
                         nullptr);
}

}  // namespace corvane::testinput
