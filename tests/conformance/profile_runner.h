// Runs one profile conformance case through a set of profile functions (the engine's or the
// system's) on a real file, and checks the outcome against the case.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "conformance/profile_cases.h"
#include "storage/profile.h"

namespace corvane::conformance {

struct ProfileOutcome {
  std::u16string text;
  int32_t number = 0;
  bool ok = false;
  std::string bytes;                      // ReadStruct on success
  std::optional<std::string> file_after;  // none: no file
};

// A folder of its own under the test temporary folder, so parallel runs do not meet.
inline std::string ConformanceDir() {
  static const std::string dir = [] {
    std::string d = ::testing::TempDir() + "corvane-profile-" +
                    std::to_string(std::random_device{}() & 0xFFFFFF);
    std::filesystem::create_directories(d);
    return d + "/";
  }();
  return dir;
}

inline std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Api has the shape of the engine's one-shot functions (ReadString ... WriteStruct) taking a
// UTF-16 path. tag keeps the files of different runs apart.
template <typename Api>
ProfileOutcome RunProfileCase(const ProfileCase& c, const Api& api, const std::string& tag) {
  const std::string path = ConformanceDir() + tag + "_" + c.name + ".ini";
  std::remove(path.c_str());
  if (c.file) {
    std::ofstream out(path, std::ios::binary);
    out.write(c.file->data(), static_cast<std::streamsize>(c.file->size()));
  }
  const std::u16string upath(path.begin(), path.end());
  ProfileOutcome o;
  switch (c.op) {
    case ProfileOp::kReadString: o.text = api.ReadString(upath, c.section, c.key, c.text); break;
    case ProfileOp::kReadInt: o.number = api.ReadInt(upath, c.section, c.key, c.number); break;
    case ProfileOp::kReadStruct: {
      std::string buf(c.size, '\0');
      o.ok = api.ReadStruct(upath, c.section, c.key, &buf[0], c.size);
      if (o.ok) o.bytes = buf;
      break;
    }
    case ProfileOp::kWriteString: o.ok = api.WriteString(upath, c.section, c.key, c.text); break;
    case ProfileOp::kWriteStruct:
      o.ok = api.WriteStruct(upath, c.section, c.key, c.data.data(), c.data.size());
      break;
  }
  o.file_after = ReadBytes(path);
  std::remove(path.c_str());
  return o;
}

inline std::string Escaped(const std::optional<std::string>& bytes) {
  if (!bytes) return "(no file)";
  std::string out;
  static const char kHex[] = "0123456789ABCDEF";
  for (unsigned char b : *bytes) {
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      out.push_back(static_cast<char>(b));
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0xF]);
    }
  }
  return out;
}

inline void ExpectProfileOutcome(const ProfileCase& c, const ProfileOutcome& o) {
  switch (c.op) {
    case ProfileOp::kReadString:
      EXPECT_TRUE(o.text == c.want_text)
          << "got " << Escaped(std::string(o.text.begin(), o.text.end()));
      break;
    case ProfileOp::kReadInt: EXPECT_EQ(c.want_int, o.number); break;
    case ProfileOp::kReadStruct:
      EXPECT_EQ(c.want_ok, o.ok);
      if (c.want_ok && o.ok) {
        EXPECT_EQ(Escaped(c.data), Escaped(o.bytes));
      }
      break;
    case ProfileOp::kWriteString:
    case ProfileOp::kWriteStruct: EXPECT_EQ(c.want_ok, o.ok); break;
  }
  if (c.want_file) {
    EXPECT_EQ(Escaped(c.want_file), Escaped(o.file_after));
  } else {
    EXPECT_EQ(Escaped(c.file), Escaped(o.file_after)) << "a read changed the file";
  }
}

inline void PrintTo(const ProfileCase& c, std::ostream* os) { *os << c.name; }

inline std::string CaseName(const ::testing::TestParamInfo<ProfileCase>& info) {
  return info.param.name;
}

// The engine's one-shot functions in the shape RunProfileCase takes.
struct EngineApi {
  std::u16string ReadString(const std::u16string& p, const std::u16string& s,
                            const std::u16string& k, const std::u16string& d) const {
    return profile::ReadString(p, s, k, d);
  }
  int32_t ReadInt(const std::u16string& p, const std::u16string& s, const std::u16string& k,
                  int32_t d) const {
    return profile::ReadInt(p, s, k, d);
  }
  bool ReadStruct(const std::u16string& p, const std::u16string& s, const std::u16string& k,
                  void* out, size_t n) const {
    return profile::ReadStruct(p, s, k, out, n);
  }
  bool WriteString(const std::u16string& p, const std::u16string& s, const std::u16string& k,
                   const std::u16string& v) const {
    return profile::WriteString(p, s, k, v);
  }
  bool WriteStruct(const std::u16string& p, const std::u16string& s, const std::u16string& k,
                   const void* data, size_t n) const {
    return profile::WriteStruct(p, s, k, data, n);
  }
};

}  // namespace corvane::conformance
