// What the program asks of the user or starts outside itself: message boxes, the open and save
// file dialogs, popup-menu choice and other programs. Tests answer these with a fake.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::ui {

class Prompts {
 public:
  virtual ~Prompts() = default;
  // MessageBoxW: flags as MB_*, returns IDYES, IDNO, IDOK...
  virtual int Message(HWND owner, const std::u16string& text, const std::u16string& caption,
                      UINT flags) = 0;
  // The common file dialogs; path holds the initial name and receives the chosen one.
  virtual bool OpenFile(HWND owner, const std::u16string& title, const std::u16string& filter,
                        const std::u16string& defaultExt, std::u16string& path) = 0;
  virtual bool SaveFile(HWND owner, const std::u16string& title, const std::u16string& filter,
                        const std::u16string& defaultExt, std::u16string& path) = 0;
  // TrackPopupMenu with TPM_RETURNCMD: the chosen command, or 0.
  virtual int ChooseFromMenu(HWND owner, HMENU menu, int x, int y) = 0;
  // WinExec with a normal window: its result (above 31 on success).
  virtual UINT Launch(const char* commandLine) = 0;
};

Prompts& Win32Prompts();

}  // namespace corvane::ui
