// The executable's folder on Linux. Windows builds use app_folder_win32.cpp instead.
#ifndef _WIN32

#include <unistd.h>

#include <string>
#include <vector>

#include "storage/app_folder.h"

namespace corvane {
namespace {

// Paths on Linux are bytes; Corvane takes them as UTF-8. A byte that is not part of valid UTF-8
// becomes U+FFFD (such a folder cannot be named back, which only matters for odd mounts).
std::u16string FromUtf8(const std::string& bytes) {
  std::u16string out;
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    uint32_t cp = 0xFFFD;
    size_t len = 1;
    if (b < 0x80) {
      cp = b;
    } else if (b >= 0xC2 && b <= 0xF4) {
      len = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
      uint32_t v = b & (0x7F >> len);
      bool ok = i + len <= n;
      for (size_t k = 1; ok && k < len; ++k) {
        const unsigned char c = static_cast<unsigned char>(bytes[i + k]);
        ok = (c & 0xC0) == 0x80;
        v = (v << 6) | (c & 0x3F);
      }
      static const uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
      if (ok && v >= kMin[len] && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
        cp = v;
      } else {
        len = 1;
      }
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

}  // namespace

std::u16string ProcessFolder() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(n));
      const size_t slash = path.rfind('/');
      if (slash == std::string::npos) return {};
      return FromUtf8(path.substr(0, slash + 1));
    }
    buffer.resize(buffer.size() * 2);  // the link may have been cut: try a larger buffer
  }
}

}  // namespace corvane

#endif  // _WIN32
