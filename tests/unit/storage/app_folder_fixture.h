// A private application folder for one test, with its Macros folder, removed afterwards; and
// small helpers to write and inspect the files in it byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "model/records.h"
#include "storage/app_folder.h"

namespace corvane::testing {

namespace fs = std::filesystem;

inline fs::path UniqueTempFolder(const std::string& prefix) {
  static int serial = 0;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = prefix;
  if (info) name += std::string(info->test_suite_name()) + "-" + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  name += "-" +
          std::to_string(static_cast<long long>(
              fs::file_time_type::clock::now().time_since_epoch().count() % 1000000007)) +
          "-" + std::to_string(++serial);
  return fs::temp_directory_path() / name;
}

inline void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// UTF-16LE with byte-order mark of UTF-8 text.
inline std::string Utf16LeWithBom(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// A structured value as the settings file stores it: upper-case digit pairs and the sum.
inline std::string StructText(const void* data, size_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const uint8_t*>(data);
  std::string text;
  uint8_t sum = 0;
  for (size_t i = 0; i < n; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 15]);
    sum = static_cast<uint8_t>(sum + bytes[i]);
  }
  text.push_back(kDigits[sum >> 4]);
  text.push_back(kDigits[sum & 15]);
  return text;
}

inline std::string EventText(int32_t message, int32_t data) {
  const MacroEvent e{message, data};
  return StructText(&e, sizeof e);
}

class AppFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = UniqueTempFolder("corvane-store-");
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "Macros");
    SetAppFolder(folder_.u16string());
  }
  void TearDown() override {
    SetAppFolder(u"");
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  fs::path Settings() const { return folder_ / "Corvane.ini"; }
  fs::path MacroFile(const std::u16string& name) const {
    return folder_ / "Macros" / fs::path(name + u".ini");
  }
  void WriteSettings(std::string_view text) { WriteBytes(Settings(), text); }
  std::string SettingsText() const { return ReadBytes(Settings()); }

  fs::path folder_;
};

// A MacroLibrary is 530 KiB: tests keep theirs on the heap.
inline std::unique_ptr<MacroLibrary> NewLibrary() {
  auto library = std::make_unique<MacroLibrary>();
  std::memset(library.get(), 0, sizeof *library);
  return library;
}

}  // namespace corvane::testing
