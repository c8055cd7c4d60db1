#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "ui/prompts.h"

namespace corvane::ui {
namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

bool FileDialog(bool save, HWND owner, const std::u16string& title, const std::u16string& filter,
                const std::u16string& defaultExt, std::u16string& path) {
  std::vector<wchar_t> buffer(MAX_PATH * 4, L'\0');
  size_t n = path.size() < buffer.size() - 1 ? path.size() : buffer.size() - 1;
  for (size_t i = 0; i < n; ++i) buffer[i] = static_cast<wchar_t>(path[i]);
  // The filter's pairs are separated by '|' in our texts; the dialog wants NULs.
  std::u16string f = filter;
  for (auto& c : f)
    if (c == u'|') c = u'\0';
  f.push_back(u'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = W(f);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = W(title);
  ofn.lpstrDefExt = defaultExt.empty() ? nullptr : W(defaultExt);
  ofn.Flags =
      OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return false;
  path.assign(reinterpret_cast<const char16_t*>(buffer.data()));
  return true;
}

class Win32PromptsImpl final : public Prompts {
 public:
  int Message(HWND owner, const std::u16string& text, const std::u16string& caption,
              UINT flags) override {
    return MessageBoxW(owner, W(text), W(caption), flags);
  }
  bool OpenFile(HWND owner, const std::u16string& title, const std::u16string& filter,
                const std::u16string& defaultExt, std::u16string& path) override {
    return FileDialog(false, owner, title, filter, defaultExt, path);
  }
  bool SaveFile(HWND owner, const std::u16string& title, const std::u16string& filter,
                const std::u16string& defaultExt, std::u16string& path) override {
    return FileDialog(true, owner, title, filter, defaultExt, path);
  }
  int ChooseFromMenu(HWND owner, HMENU menu, int x, int y) override {
    return static_cast<int>(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RETURNCMD | TPM_NONOTIFY, x, y,
                                           0, owner, nullptr));
  }
  UINT Launch(const char* commandLine) override { return WinExec(commandLine, SW_SHOWNORMAL); }
};

}  // namespace

Prompts& Win32Prompts() {
  static Win32PromptsImpl prompts;
  return prompts;
}

}  // namespace corvane::ui
