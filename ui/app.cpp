// Corvane.exe: the program with the system's own services behind every seam.
#include <windows.h>

#include "device/hid_win32.h"
#include "device/sleeper.h"
#include "storage/app_folder.h"
#include "ui/main_dialog.h"
#include "ui/prompts.h"
#include "ui/system_pointer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  corvane::UseModuleFolder();
  auto hid = corvane::CreateWin32HidPlatform();
  corvane::Win32Sleeper sleeper;
  corvane::ui::Seams seams{*hid, sleeper, corvane::ui::Win32SystemPointer(),
                           corvane::ui::Win32Prompts()};
  corvane::ui::CCorvaneApp app(seams);
  app.InitInstance();
  return 0;
}
