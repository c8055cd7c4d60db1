// Fakes of the UI's seams, a per-test application folder, and the main window's pages used
// through their own controls, shared by the UI and end-to-end test programs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "model/records.h"
#include "storage/app_folder.h"
#include "storage/profile.h"
#include "storage/settings.h"
#include "ui/buttons_page.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
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

  // Runs while a message box is shown, as the messages the system delivers meanwhile would.
  std::function<void()> WhileAsking;

  int Message(HWND, const std::u16string& text, const std::u16string&, UINT flags) override {
    Messages.push_back({text, flags});
    if (WhileAsking) WhileAsking();
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
      if (!(state & (MF_GRAYED | MF_DISABLED)))
        enabled.push_back(static_cast<int>(GetMenuItemID(menu, i)));
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
  void SetSpeed(int32_t s) override {
    SpeedValue = s;
    SpeedWrites.push_back(s);
  }
  ui::MouseParameters Mouse() override { return MouseValue; }
  void SetMouse(const ui::MouseParameters& p) override {
    MouseValue = p;
    MouseWrites.push_back(p);
  }
  uint32_t WheelLines() override { return Lines; }
  void SetWheelLines(uint32_t v) override {
    Lines = v;
    LineWrites.push_back(v);
  }
  uint32_t WheelChars() override { return Chars; }
  void SetWheelChars(uint32_t v) override {
    Chars = v;
    CharWrites.push_back(v);
  }
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
  // The file as it stands at each call, as a page made on its own would read it.
  const profile::Document& StoredSettings() override {
    Settings = LoadSettingsDocument();
    return Settings;
  }
  profile::Document Settings;
};

// A fresh application folder for one test, removed at its end.
class TempAppFolder {
 public:
  TempAppFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    Path_ = std::filesystem::path(base) / (L"corvane-ui-" + std::to_wstring(GetCurrentProcessId()) +
                                           L"-" + std::to_wstring(++counter));
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

// Handles what is queued through the main window's own loop until nothing more arrives for a
// moment, so the messages that input is still producing have been handled too.
inline void Drain(ui::CCorvaneDlg& window) {
  for (int quiet = 0; quiet < 2;) {
    window.PumpPending();
    quiet = MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT) == WAIT_TIMEOUT
                ? quiet + 1
                : 0;
  }
}

// A click on tab index of the main window, as the tab control reports it.
inline void ShowTab(ui::CCorvaneDlg& window, int index) {
  HWND tab = GetDlgItem(window.Handle(), ui::kIdTab);
  NMHDR n{tab, static_cast<UINT_PTR>(ui::kIdTab), static_cast<UINT>(TCN_SELCHANGING)};
  SendMessageW(window.Handle(), WM_NOTIFY, ui::kIdTab, reinterpret_cast<LPARAM>(&n));
  SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  n.code = static_cast<UINT>(TCN_SELCHANGE);
  SendMessageW(window.Handle(), WM_NOTIFY, ui::kIdTab, reinterpret_cast<LPARAM>(&n));
  Drain(window);
}

// The Buttons page of a main window used as a user uses it: a row's function menu (answered
// through the prompts fake), the macro list, the mode buttons and the interval field. Each
// action ends with the window's queue handled.
class ButtonsPageUser {
 public:
  ButtonsPageUser(ui::CCorvaneDlg& window, FakePrompts& prompts)
      : window_(window), prompts_(prompts) {}

  HWND Page() const { return window_.ButtonsPage()->Handle(); }
  HWND Item(int id) const { return GetDlgItem(Page(), id); }
  // The menu button of row (0 the left button).
  HWND Menu(int row) const { return Item(ui::kButtonRowIds[row].Menu); }

  void Focus(HWND w) {
    SetFocus(w);
    Drain(window_);
  }
  // A push button, radio button or menu button pressed.
  void Click(HWND w) {
    SendMessageW(w, BM_CLICK, 0, 0);
    Drain(window_);
  }
  // The row's menu button pressed and command chosen from its menu.
  void ChooseFunction(int row, int command) {
    prompts_.MenuAnswers = {command};
    Click(Menu(row));
  }
  // The macro of that name chosen in the macro list; false when the list does not hold it.
  bool ChooseMacro(const std::u16string& name) {
    HWND list = Item(ui::kIdMacroChoice);
    LRESULT at = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(name.c_str()));
    if (at < 0) return false;
    Focus(list);
    // From the neighbour with an arrow key, so the list reports the choice itself.
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(at == 0 ? 1 : at - 1), 0);
    SendMessageW(list, WM_KEYDOWN, at == 0 ? VK_UP : VK_DOWN, 0);
    Drain(window_);
    return true;
  }
  // The interval field emptied and the digits typed into it.
  void TypeInterval(const std::u16string& digits) {
    HWND field = Item(ui::kIdInterval);
    SetWindowTextW(field, L"");
    Focus(field);
    for (char16_t c : digits) SendMessageW(field, WM_CHAR, c, 1);
    Drain(window_);
  }

 private:
  ui::CCorvaneDlg& window_;
  FakePrompts& prompts_;
};

// Runs a program (its quoted path and arguments), waits for its end and returns what it wrote to
// its standard output and error.
inline std::string RunProgram(const std::wstring& commandLine, DWORD& exitCode) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = writeEnd;
  start.hStdError = writeEnd;
  start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = commandLine;
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &start, &process);
  CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
      output.append(buffer, got);
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readEnd);
  return output;
}

}  // namespace corvane::uitest
