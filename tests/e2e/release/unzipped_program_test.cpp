// The program as the zip delivers it (release_zip leaves the zip of this build extracted): its
// three binaries carry the one version of the folder's name, and Corvane.exe started from a copy
// of the folder, without any settings file, shows its window and ends on Cancel, clicked with
// the system's input, leaving the files of the zip as they were.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "win32/input_support.h"

namespace {

namespace fs = std::filesystem;

// The one folder of the extracted zip, Corvane-<version>.
fs::path Unzipped() {
  std::vector<fs::path> folders;
  for (const auto& e : fs::directory_iterator(CORVANE_UNZIPPED_DIR)) folders.push_back(e.path());
  return folders.size() == 1 ? folders[0] : fs::path();
}

std::wstring VersionOf(const fs::path& folder) {
  const std::wstring name = folder.filename().wstring();
  return name.rfind(L"Corvane-", 0) == 0 ? name.substr(8) : L"";
}

// The bytes of resource id of the given type in module.
std::string ResourceBytes(HMODULE module, LPCWSTR id, LPCWSTR type) {
  HRSRC found = FindResourceW(module, id, type);
  if (!found) return {};
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

// Every entry under folder: a folder as "<folder>", a file as a hash of its bytes.
std::map<std::wstring, std::string> Contents(const fs::path& folder) {
  std::map<std::wstring, std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    std::string bytes = "<folder>";
    if (e.is_regular_file()) {
      bytes.assign(static_cast<size_t>(e.file_size()), '\0');
      if (FILE* f = _wfopen(e.path().c_str(), L"rb")) {
        bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
        fclose(f);
      }
      bytes = std::to_string(std::hash<std::string>()(bytes));
    }
    entries[fs::relative(e.path(), folder).wstring()] = bytes;
  }
  return entries;
}

// The entries that are new, gone or changed from before to after.
std::vector<std::wstring> Changed(const std::map<std::wstring, std::string>& before,
                                  const std::map<std::wstring, std::string>& after) {
  std::vector<std::wstring> changed;
  for (const auto& [name, bytes] : after) {
    auto it = before.find(name);
    if (it == before.end() || it->second != bytes) changed.push_back(name);
  }
  for (const auto& [name, bytes] : before)
    if (!after.count(name)) changed.push_back(name + L" (gone)");
  return changed;
}

TEST(UnzippedProgram, EveryBinaryCarriesTheVersionOfItsFolder) {
  const fs::path folder = Unzipped();
  ASSERT_FALSE(folder.empty()) << "release_zip extracts the zip into " << CORVANE_UNZIPPED_DIR;
  const std::wstring version = VersionOf(folder);
  ASSERT_FALSE(version.empty());
  // major.minor.patch, as the fixed part of the version block holds it.
  int part[3] = {};
  ASSERT_EQ(swscanf(version.c_str(), L"%d.%d.%d", &part[0], &part[1], &part[2]), 3);
  const DWORD ms = MAKELONG(part[1], part[0]), ls = MAKELONG(0, part[2]);

  const struct {
    const wchar_t* file;
    DWORD type;
  } binaries[] = {
      {L"Corvane.exe", VFT_APP}, {L"CorvaneHook.dll", VFT_DLL}, {L"corvane-cli.exe", VFT_APP}};
  for (const auto& b : binaries) {
    SCOPED_TRACE(b.file);
    const std::wstring path = (folder / b.file).wstring();
    DWORD handle = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), &handle));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, ms);
    EXPECT_EQ(fixed->dwFileVersionLS, ls);
    EXPECT_EQ(fixed->dwProductVersionMS, ms);
    EXPECT_EQ(fixed->dwProductVersionLS, ls);
    EXPECT_EQ(fixed->dwFileType, b.type);
    const std::pair<const wchar_t*, std::wstring> values[] = {{L"FileVersion", version},
                                                              {L"ProductVersion", version},
                                                              {L"ProductName", L"Corvane"},
                                                              {L"OriginalFilename", b.file}};
    for (const auto& [name, want] : values) {
      wchar_t* text = nullptr;
      const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
      ASSERT_TRUE(
          VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &len))
          << name;
      EXPECT_EQ(std::wstring(text), want) << name;
    }
  }

  // The manifest's identity and the About box of the program say the same version.
  HMODULE program = LoadLibraryExW((folder / L"Corvane.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  const std::string manifest = ResourceBytes(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
  const std::string identity = "name=\"Corvane\" version=\"" + std::to_string(part[0]) + "." +
                               std::to_string(part[1]) + "." + std::to_string(part[2]) + ".0\"";
  EXPECT_NE(manifest.find(identity), std::string::npos) << manifest;
  const std::string about = ResourceBytes(program, MAKEINTRESOURCEW(IDD_ABOUTBOX), RT_DIALOG);
  const std::wstring label = L"Version " + version;
  const std::string labelBytes(reinterpret_cast<const char*>(label.c_str()),
                               (label.size() + 1) * sizeof(wchar_t));
  EXPECT_NE(about.find(labelBytes), std::string::npos);
  FreeLibrary(program);
}

// A copy of the extracted folder for one test, removed at its end.
class FreshFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path unzipped = Unzipped();
    ASSERT_FALSE(unzipped.empty());
    folder_ = fs::temp_directory_path() /
              (L"corvane-unzipped-" + std::to_wstring(GetCurrentProcessId())) / unzipped.filename();
    fs::remove_all(folder_.parent_path());
    fs::create_directories(folder_);
    fs::copy(unzipped, folder_, fs::copy_options::recursive);
  }
  void TearDown() override {
    if (process_.hProcess) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 10000);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    std::error_code ec;
    fs::remove_all(folder_.parent_path(), ec);
  }

  // Starts the folder's Corvane.exe from another current folder and waits for its main window.
  HWND Start() {
    std::wstring command = L"\"" + (folder_ / L"Corvane.exe").wstring() + L"\"";
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    const std::wstring elsewhere = folder_.parent_path().wstring();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        elsewhere.c_str(), &start, &process_))
      return nullptr;
    for (int waited = 0; waited < 60000; waited += 100) {
      struct Search {
        DWORD process;
        HWND found;
      } search{process_.dwProcessId, nullptr};
      EnumWindows(
          [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            wchar_t title[64] = {};
            GetWindowTextW(w, title, 64);
            if (owner != s->process || !IsWindowVisible(w) || wcscmp(title, L"Corvane") != 0)
              return TRUE;
            s->found = w;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      // Ends the wait early when the program ended.
      if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
  }

  // A left click at the middle of the window's control id, as the system's input.
  void Click(HWND window, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(window, id), &r);
    SetForegroundWindow(window);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT clicks[] = {corvane::testinput::MouseInput(MOUSEEVENTF_LEFTDOWN),
                      corvane::testinput::MouseInput(MOUSEEVENTF_LEFTUP)};
    SendInput(2, clicks, sizeof(INPUT));
  }

  // The program's exit code once it has ended, or STILL_ACTIVE after 30 s.
  DWORD WaitForEnd() {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

  fs::path folder_;
  PROCESS_INFORMATION process_{};
};

TEST_F(FreshFolder, StartsWithoutSettingsAndCancelEndsIt) {
  ASSERT_FALSE(fs::exists(folder_ / L"Corvane.ini"));
  const auto before = Contents(folder_);
  HWND window = Start();
  ASSERT_NE(window, nullptr) << "no Corvane window";
  ASSERT_NE(GetDlgItem(window, IDCANCEL), nullptr);
  Click(window, IDCANCEL);
  EXPECT_EQ(WaitForEnd(), 0u);
  // The recording options are kept on exit; nothing the zip brought is touched.
  EXPECT_EQ(Changed(before, Contents(folder_)), std::vector<std::wstring>{L"Corvane.ini"});
}

}  // namespace
