// A program that shows one plain window and ends when it is closed: bench/startup.sh times it
// to the window shown, the floor of any Wine program with a window.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

}  // namespace

int main() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"CorvaneBenchWindow";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassW(&wc);
  CreateWindowExW(0, wc.lpszClassName, L"Corvane empty window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                  0, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
