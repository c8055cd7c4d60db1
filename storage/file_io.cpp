#include "storage/file_io.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <system_error>

#include "storage/text_encoding.h"

namespace corvane::file_io {
namespace fs = std::filesystem;

bool IsSeparator(char16_t c) {
#ifdef _WIN32
  return c == u'\\' || c == u'/';
#else
  return c == u'/';
#endif
}

namespace {

#ifdef _WIN32
constexpr char16_t kSeparator = u'\\';
#else
constexpr char16_t kSeparator = u'/';
#endif

// A name beside target that no other writer picks: the process may run twice at once.
fs::path TemporaryBeside(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  const auto tick =
      static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
  const unsigned tag = seed ^ (tick * 2654435761u) ^ (counter++ * 40503u);
  static const char kHex[] = "0123456789abcdef";
  std::string suffix = ".~";
  for (int shift = 28; shift >= 0; shift -= 4) suffix.push_back(kHex[(tag >> shift) & 0xF]);
  suffix += ".tmp";
  fs::path tmp = target;
  tmp += suffix;
  return tmp;
}

}  // namespace

fs::path ToFsPath(const std::u16string& path) {
#ifdef _WIN32
  return fs::path(std::wstring(path.begin(), path.end()));
#else
  return fs::path(text::Utf16ToUtf8(path));
#endif
}

namespace {
ReadObserver g_readObserver = nullptr;  // one test at a time sets it
}  // namespace

void SetReadObserver(ReadObserver observer) { g_readObserver = observer; }

ReadResult ReadWholeFile(const std::u16string& path) {
  if (g_readObserver) g_readObserver(path);
  ReadResult r;
  const fs::path p = ToFsPath(path);
  std::error_code ec;
  const fs::file_status st = fs::status(p, ec);
  if (st.type() == fs::file_type::not_found) return r;
  r.status = ReadStatus::kError;
  if (ec || !fs::is_regular_file(st)) return r;
  std::ifstream in(p, std::ios::binary);
  if (!in) return r;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxFileSize) return r;
  in.seekg(0, std::ios::beg);
  r.bytes.resize(static_cast<size_t>(size));
  if (size > 0 && !in.read(&r.bytes[0], size)) {
    r.bytes.clear();
    return r;
  }
  r.status = ReadStatus::kOk;
  return r;
}

bool WriteWholeFile(const std::u16string& path, std::string_view bytes) {
  const fs::path p = ToFsPath(path);
  std::error_code ec;
  const fs::file_status st = fs::status(p, ec);
  const bool existed = fs::exists(st);
  if (existed) {
    if (!fs::is_regular_file(st)) return false;
    // The replace below would succeed over a read-only file on POSIX; refuse it everywhere.
    if ((st.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
  }
  const fs::path tmp = TemporaryBeside(p);
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      fs::remove(tmp, ec);
      return false;
    }
  }
  if (existed) fs::permissions(tmp, st.permissions(), ec);  // best effort
  fs::rename(tmp, p, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return false;
  }
  return true;
}

bool MoveNoReplace(const std::u16string& from, const std::u16string& to) {
  const fs::path src = ToFsPath(from);
  const fs::path dst = ToFsPath(to);
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(src, ec))) return false;
  // Checked, then renamed: only the user-interface thread moves files.
  if (fs::symlink_status(dst, ec).type() != fs::file_type::not_found) return false;
  fs::rename(src, dst, ec);
  return !ec;
}

bool RemoveFile(const std::u16string& path) {
  const fs::path p = ToFsPath(path);
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(p, ec))) return false;
  return fs::remove(p, ec) && !ec;
}

bool FileExists(const std::u16string& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::status(ToFsPath(path), ec));
}

bool SameFile(const std::u16string& a, const std::u16string& b) {
  std::error_code ec;
  const bool same = fs::equivalent(ToFsPath(a), ToFsPath(b), ec);
  return same && !ec;
}

bool DirectoryExists(const std::u16string& path) {
  std::error_code ec;
  return fs::is_directory(fs::status(ToFsPath(path), ec));
}

std::u16string JoinPath(std::u16string_view dir, std::u16string_view name) {
  std::u16string out(dir);
  if (!out.empty() && !IsSeparator(out.back())) out.push_back(kSeparator);
  out.append(name);
  return out;
}

}  // namespace corvane::file_io
