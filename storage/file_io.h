// Portable file access for the storage code, on std::filesystem. Paths are UTF-16 like all text
// of the core; ToFsPath converts them for the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace corvane::file_io {

enum class ReadStatus { kOk, kMissing, kError };

struct ReadResult {
  ReadStatus status = ReadStatus::kMissing;
  std::string bytes;
};

// Files larger than this are refused as unreadable: no settings or macro file comes near it,
// and reading one whole must not exhaust memory.
inline constexpr std::uintmax_t kMaxFileSize = 64u << 20;

std::filesystem::path ToFsPath(const std::u16string& path);

// The whole file. kMissing when nothing is at path; kError when something is there that cannot
// be read as a file (a directory, no access, too large).
ReadResult ReadWholeFile(const std::u16string& path);
// Tests: told the path of every ReadWholeFile, so a test can count how often a file is read.
using ReadObserver = void (*)(const std::u16string& path);
void SetReadObserver(ReadObserver observer);

// Writes bytes to a temporary file beside path, then replaces path with it, so a failed write
// leaves the old file as it was. Fails on a read-only file. Keeps the old file's permissions.
bool WriteWholeFile(const std::u16string& path, std::string_view bytes);

// Renames from to to; fails when to already exists.
bool MoveNoReplace(const std::u16string& from, const std::u16string& to);
// Removes a file (not a directory); false when nothing was removed.
bool RemoveFile(const std::u16string& path);
bool FileExists(const std::u16string& path);
// True when a and b name one existing file however they are spelled: relative or absolute, with
// "." or "..", through a symbolic link, or on Windows by its short name. Compares the files
// themselves (device and file number), not the texts.
bool SameFile(const std::u16string& a, const std::u16string& b);
bool DirectoryExists(const std::u16string& path);

// dir and name joined with the platform's separator; dir may end with one already.
std::u16string JoinPath(std::u16string_view dir, std::u16string_view name);

// A folder separator of this platform ('/' and, on Windows, '\\' too).
bool IsSeparator(char16_t c);

}  // namespace corvane::file_io
