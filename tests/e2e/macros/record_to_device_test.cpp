// From a recording to the mouse's bytes: a macro recorded by the start/stop hot key with real
// input, assigned to a button in Manual mode with an interval, applied in demo mode; then
// corvane-cli image over the same folder shows the recorded keys as that button's device bytes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "device/encoder.h"
#include "fakes/fake_hid_platform.h"
#include "model/macro_links.h"
#include "storage/macro_store.h"
#include "ui/main_dialog.h"
#include "ui/ui_test_support.h"

namespace corvane::uitest {
namespace {

void Settle(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    Pump();
    Sleep(2);
  } while (GetTickCount() - start < ms);
}

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
  Settle(20);
}
void Press(WORD vk) {
  SendKey(vk, false);
  SendKey(vk, true);
}
void AltF1() {
  SendKey(VK_LMENU, false);
  Press(VK_F1);
  SendKey(VK_LMENU, true);
}

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> out;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(u'\n', at);
    if (end == std::u16string::npos) end = text.size();
    out.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

TEST(RecordToDevice, AHotkeyRecordingReachesTheButtonsBytes) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
  InitCommonControlsEx(&icc);
  TempAppFolder folder;
  folder.Write(L"Corvane.ini",
               "[Application]\r\nDemo=1\r\n[Recording]\r\nRecordingUseHotkey=1\r\n"
               "RecordingHotkey=40070\r\nRecordingMouse=0\r\n[Macros]\r\nNumbers=1\r\n1=Combo\r\n");
  folder.Write(L"Macros\\Combo.ini", "[Events]\r\nNumbers=0\r\n");

  fakes::FakeHidPlatform hid;
  fakes::RecordingSleeper sleeper;
  FakePointer pointer;
  FakePrompts prompts;
  auto dlg = std::make_unique<ui::CCorvaneDlg>(ui::Seams{hid, sleeper, pointer, prompts});
  ASSERT_TRUE(dlg->CreateMain());
  ShowWindow(dlg->Handle(), SW_SHOW);
  SetForegroundWindow(dlg->Handle());
  Settle(50);

  // The Overview shows: the hot key works whichever page is up.
  AltF1();
  ASSERT_TRUE(dlg->MacrosPage()->Recorder().Recording());
  Press('A');
  Press('B');
  AltF1();
  ASSERT_FALSE(dlg->MacrosPage()->Recorder().Recording());
  const Macro& combo = dlg->MacrosPage()->Library().Macros[0];
  ASSERT_EQ(4, combo.EventCount);
  const MacroEvent recorded[] = {{256, 65}, {257, 65}, {256, 66}, {257, 66}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(recorded[i].Message, combo.Events[i].Message) << i;
    EXPECT_EQ(recorded[i].Data, combo.Events[i].Data) << i;
  }

  // Button 3 (the middle button) runs the macro by hand, every 150 ms. The Buttons page's
  // controls are not on this branch yet: the assignment is set through its record.
  ButtonAssignment& middle = dlg->ButtonsPage()->Assignments()[2];
  middle.FunctionCode = kFunctionMacro;
  middle.ExecutionMode = kModeManual;
  middle.ExecutionInterval = 150;
  AssignMacro(middle, dlg->MacrosPage()->Library(), 0);
  SendMessageW(dlg->Handle(), WM_COMMAND, MAKEWPARAM(ui::kIdApply, BN_CLICKED), 0);
  Settle(20);

  // What Apply sent to the mouse's image, from the program's own state.
  const PointerSettings& p = dlg->PointerPage()->Settings();
  const int32_t resX[4] = {p.ResolutionX[0], p.ResolutionX[1], p.ResolutionX[2], p.ResolutionX[3]};
  const int32_t resY[4] = {p.ResolutionY[0], p.ResolutionY[1], p.ResolutionY[2], p.ResolutionY[3]};
  auto image = std::make_unique<DeviceImage>();
  const EncodeResult result = EncodeDeviceImage(
      resX, resY, dlg->ButtonsPage()->Assignments() + 1, dlg->Hardware().ButtonCount - 1,
      p.ReportRate, dlg->Hardware().TurboLo, dlg->MacrosPage()->Library(), *image);
  ASSERT_TRUE(result.Fits());
  dlg.reset();

  // What the next Apply would send, from the files alone: the same frames.
  std::u16string out, err;
  ASSERT_EQ(cli::kExitOk, cli::RunCli({u"image", u"--dir", folder.Path().u16string()}, out, err))
      << std::string(err.begin(), err.end());
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::vector<std::u16string> lines = Lines(out);
  ASSERT_EQ(result.Length / 8 + 2, lines.size());
  bool keysSeen = false;
  for (size_t frame = 0; frame < result.Length / 8; ++frame) {
    std::u16string expected;
    for (size_t i = 0; i < 8; ++i) {
      expected.push_back(kDigits[image->Bytes[frame * 8 + i] >> 4]);
      expected.push_back(kDigits[image->Bytes[frame * 8 + i] & 0xF]);
    }
    EXPECT_EQ(expected, lines[frame + 1]) << frame;
    // A and B go to the mouse as the keyboard usages 04 and 05.
    if (expected.find(u"04") != std::u16string::npos && expected.find(u"05") != std::u16string::npos)
      keysSeen = true;
  }
  EXPECT_TRUE(keysSeen);
}

}  // namespace
}  // namespace corvane::uitest
