// Fakes of the UI's seams and a per-test application folder, shared by the UI test programs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/records.h"
#include "storage/app_folder.h"
#include "ui/page.h"
#include "ui/prompts.h"
#include "ui/system_pointer.h"

namespace corvane::uitest {

struct ShownMessage {
  std::u16string Text;
  UINT Flags;
};

// Answers message boxes from a queue (IDNO when it is empty) and records everything asked.
class FakePrompts : public ui::Prompts {
 public:
  std::vector<ShownMessage> Messages;
  std::deque<int> Answers;
  std::vector<std::string> Launches;
  std::deque<UINT> LaunchResults;  // 33 (success) when empty
  // Popup menus as they were handed over, and where each opened.
  std::vector<HMENU> Menus;
  std::vector<POINT> MenuPositions;

  int Message(HWND, const std::u16string& text, const std::u16string&, UINT flags) override {
    Messages.push_back({text, flags});
    if (Answers.empty()) return IDNO;
    int a = Answers.front();
    Answers.pop_front();
    return a;
  }
  // File dialogs: each answers with the next path of its queue (cancelled when empty) and
  // records its title and the initial name it offered.
  std::deque<std::u16string> OpenAnswers, SaveAnswers;
  std::vector<std::u16string> FileTitles, OfferedNames;
  // Popup menus: each answers with the next command of the queue (0 when empty) and records
  // the commands the menu offered enabled.
  std::deque<int> MenuAnswers;
  std::vector<std::vector<int>> MenusShown;

  bool OpenFile(HWND, const std::u16string& title, const std::u16string&, const std::u16string&,
                std::u16string& path) override {
    return AnswerFile(OpenAnswers, title, path);
  }
  bool SaveFile(HWND, const std::u16string& title, const std::u16string&, const std::u16string&,
                std::u16string& path) override {
    return AnswerFile(SaveAnswers, title, path);
  }
  int ChooseFromMenu(HWND, HMENU menu, int x, int y) override {
    Menus.push_back(menu);
    MenuPositions.push_back({x, y});
    std::vector<int> enabled;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
      if (!(state & (MF_GRAYED | MF_DISABLED))) enabled.push_back(static_cast<int>(GetMenuItemID(menu, i)));
    }
    MenusShown.push_back(enabled);
    if (MenuAnswers.empty()) return 0;
    int a = MenuAnswers.front();
    MenuAnswers.pop_front();
    return a;
  }
  bool AnswerFile(std::deque<std::u16string>& answers, const std::u16string& title,
                  std::u16string& path) {
    FileTitles.push_back(title);
    OfferedNames.push_back(path);
    if (answers.empty()) return false;
    path = answers.front();
    answers.pop_front();
    return true;
  }
  UINT Launch(const char* commandLine) override {
    Launches.emplace_back(commandLine);
    if (LaunchResults.empty()) return 33;
    UINT r = LaunchResults.front();
    LaunchResults.pop_front();
    return r;
  }
};

// System pointer values a test sets, and a record of what the program wrote.
class FakePointer : public ui::SystemPointer {
 public:
  int32_t SpeedValue = 10;
  ui::MouseParameters MouseValue{6, 10, 1};
  uint32_t Lines = 3;
  uint32_t Chars = 3;
  std::vector<int32_t> SpeedWrites;
  std::vector<ui::MouseParameters> MouseWrites;
  std::vector<uint32_t> LineWrites;
  std::vector<uint32_t> CharWrites;

  int32_t Speed() override { return SpeedValue; }
  void SetSpeed(int32_t s) override { SpeedValue = s; SpeedWrites.push_back(s); }
  ui::MouseParameters Mouse() override { return MouseValue; }
  void SetMouse(const ui::MouseParameters& p) override { MouseValue = p; MouseWrites.push_back(p); }
  uint32_t WheelLines() override { return Lines; }
  void SetWheelLines(uint32_t v) override { Lines = v; LineWrites.push_back(v); }
  uint32_t WheelChars() override { return Chars; }
  void SetWheelChars(uint32_t v) override { Chars = v; CharWrites.push_back(v); }
};

// A main window as far as a page on its own needs one: a language a test may change, the fakes,
// the hardware values, and none of the other pages.
class FakePageHost : public ui::PageHost {
 public:
  uint32_t Lcid = 0;
  FakePointer PointerFake;
  FakePrompts PromptsFake;
  HardwareSettings HardwareValue{};
  uint32_t Language() const override { return Lcid; }
  ui::SystemPointer& Pointer() override { return PointerFake; }
  ui::Prompts& Asker() override { return PromptsFake; }
  const HardwareSettings& Hardware() const override { return HardwareValue; }
};

// A fresh application folder for one test, removed at its end.
class TempAppFolder {
 public:
  TempAppFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    Path_ = std::filesystem::path(base) /
            (L"corvane-ui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++counter));
    std::filesystem::remove_all(Path_);
    std::filesystem::create_directories(Path_ / L"Macros");
    std::filesystem::create_directories(Path_ / L"Languages");
    SetAppFolder(Path_.u16string());
  }
  ~TempAppFolder() {
    SetAppFolder(u"");
    std::error_code ec;
    std::filesystem::remove_all(Path_, ec);
  }
  const std::filesystem::path& Path() const { return Path_; }
  void Write(const std::wstring& relative, const std::string& text) const {
    std::ofstream out(Path_ / relative, std::ios::binary);
    out << text;
  }
  std::string Read(const std::wstring& relative) const {
    std::ifstream in(Path_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // GetPrivateProfileStringW of the settings file: what the program wrote, read as Windows does.
  std::wstring Profile(const wchar_t* section, const wchar_t* key,
                       const wchar_t* file = L"Corvane.ini") const {
    wchar_t buf[4096] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", buf, 4096, (Path_ / file).c_str());
    return buf;
  }

 private:
  std::filesystem::path Path_;
};

inline std::u16string WindowText(HWND w) {
  wchar_t buf[512] = {};
  GetWindowTextW(w, buf, 512);
  return reinterpret_cast<const char16_t*>(buf);
}

// Handles what is queued for this thread.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace corvane::uitest
