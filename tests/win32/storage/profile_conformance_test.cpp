// The shared profile cases against both the engine and the system's profile functions, on the
// same files. A case with a wine_note is skipped for the system functions only.
#include <windows.h>

#include "conformance/profile_runner.h"

namespace corvane::conformance {
namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

struct SystemApi {
  std::u16string ReadString(const std::u16string& p, const std::u16string& s,
                            const std::u16string& k, const std::u16string& d) const {
    wchar_t buf[4096];
    const DWORD n = GetPrivateProfileStringW(W(s), W(k), W(d), buf, 4096, W(p));
    return std::u16string(reinterpret_cast<const char16_t*>(buf), n);
  }
  int32_t ReadInt(const std::u16string& p, const std::u16string& s, const std::u16string& k,
                  int32_t d) const {
    return static_cast<int32_t>(GetPrivateProfileIntW(W(s), W(k), d, W(p)));
  }
  bool ReadStruct(const std::u16string& p, const std::u16string& s, const std::u16string& k,
                  void* out, size_t n) const {
    return GetPrivateProfileStructW(W(s), W(k), out, static_cast<UINT>(n), W(p)) != FALSE;
  }
  bool WriteString(const std::u16string& p, const std::u16string& s, const std::u16string& k,
                   const std::u16string& v) const {
    return WritePrivateProfileStringW(W(s), W(k), W(v), W(p)) != FALSE;
  }
  bool WriteStruct(const std::u16string& p, const std::u16string& s, const std::u16string& k,
                   const void* data, size_t n) const {
    return WritePrivateProfileStructW(W(s), W(k), const_cast<void*>(data), static_cast<UINT>(n),
                                      W(p)) != FALSE;
  }
};

class ProfileConformanceWin32 : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileConformanceWin32, Engine) {
  const ProfileCase& c = GetParam();
  ExpectProfileOutcome(c, RunProfileCase(c, EngineApi{}, "engine"));
}

TEST_P(ProfileConformanceWin32, System) {
  const ProfileCase& c = GetParam();
  if (!c.wine_note.empty()) GTEST_SKIP() << c.wine_note;
  ExpectProfileOutcome(c, RunProfileCase(c, SystemApi{}, "system"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileConformanceWin32, ::testing::ValuesIn(ProfileCases()),
                         CaseName);

}  // namespace
}  // namespace corvane::conformance
