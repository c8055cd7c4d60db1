// The executable's folder on Windows.
#include <windows.h>

#include <vector>

#include "storage/app_folder.h"

namespace corvane {

std::u16string ModuleFolder() {
  // GetModuleFileNameW cuts the path to the buffer and returns its size when it does not fit,
  // so grow until the whole path (which may exceed MAX_PATH) came back.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      std::u16string path(reinterpret_cast<const char16_t*>(buffer.data()), n);
      const size_t cut = path.find_last_of(u"\\/");
      if (cut == std::u16string::npos) return {};
      path.resize(cut + 1);
      return path;
    }
    if (buffer.size() >= 0x10000) return {};  // no Windows path is that long
    buffer.resize(buffer.size() * 2);
  }
}

void UseModuleFolder() { SetExecutableFolderLookup(&ModuleFolder); }

}  // namespace corvane
