// From a recording to the mouse's bytes: a macro recorded by the start/stop hot key with real
// input, assigned to the middle button on the Buttons page through its own controls (the macro
// function from the button's menu, the macro, Manual mode, an interval) and applied in demo mode;
// corvane-cli image over the same folder then shows the recorded keys as that button's device
// bytes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_hid_platform.h"
#include "resources/resource.h"
#include "ui/ids.h"
#include "ui/main_dialog.h"
#include "ui/ui_test_support.h"
#include "win32/input_support.h"

namespace corvane::uitest {
namespace {

using testinput::KeyInput;

// Each input on its own, handled before the next goes: a hand is slower than the queue.
void Send(ui::CCorvaneDlg& window, std::vector<INPUT> inputs) {
  for (INPUT& in : inputs) {
    ASSERT_EQ(SendInput(1, &in, sizeof in), 1u);
    Drain(window);
  }
}
std::vector<INPUT> Press(WORD vk) { return {KeyInput(vk, false), KeyInput(vk, true)}; }
std::vector<INPUT> AltF1() {
  return {KeyInput(VK_LMENU, false), KeyInput(VK_F1, false), KeyInput(VK_F1, true),
          KeyInput(VK_LMENU, true)};
}

// The payload of corvane-cli's image: its report lines as bytes, the payload length from the
// header frame, two payload bytes at the end of the DPI frame and six behind the 02 00 of each
// frame after it.
std::vector<uint8_t> Payload(const std::string& output) {
  std::vector<std::vector<uint8_t>> frames;
  size_t at = 0;
  while (at < output.size()) {
    size_t end = output.find('\n', at);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() != 16 || line.find_first_not_of("0123456789ABCDEF") != std::string::npos)
      continue;
    std::vector<uint8_t> frame;
    for (size_t i = 0; i < 16; i += 2)
      frame.push_back(static_cast<uint8_t>(std::stoi(line.substr(i, 2), nullptr, 16)));
    frames.push_back(frame);
  }
  // frames[0] is the report sent before the image; the image's frames follow it.
  std::vector<uint8_t> payload;
  if (frames.size() < 4) return payload;
  const size_t length = static_cast<size_t>(frames[2][2] << 8 | frames[2][3]);
  for (size_t i = 6; i < 8 && payload.size() < length; ++i) payload.push_back(frames[3][i]);
  for (size_t f = 4; f < frames.size() && frames[f][0] == 0x02 && frames[f][1] == 0x00; ++f)
    for (size_t i = 2; i < 8 && payload.size() < length; ++i) payload.push_back(frames[f][i]);
  return payload;
}

TEST(RecordToDevice, AHotkeyRecordingAssignedOnTheButtonsPageReachesThatButtonsBytes) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFFFF};
  InitCommonControlsEx(&icc);
  TempAppFolder folder;
  folder.Write(L"Corvane.ini",
               "[Application]\r\nDemo=1\r\n[Recording]\r\nRecordingUseHotkey=1\r\n"
               "RecordingHotkey=40070\r\nRecordingMouse=0\r\nRecordingDelay=0\r\n"
               "[Macros]\r\nNumbers=1\r\n1=Combo\r\n");
  folder.Write(L"Macros\\Combo.ini", "[Events]\r\nNumbers=0\r\n");

  fakes::FakeHidPlatform hid;
  fakes::RecordingSleeper sleeper;
  FakePointer pointer;
  FakePrompts prompts;
  // The pointer away from the window: no menu button hovered by where it was left.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  auto dlg = std::make_unique<ui::CCorvaneDlg>(ui::Seams{hid, sleeper, pointer, prompts});
  ASSERT_TRUE(dlg->CreateMain());
  ShowWindow(dlg->Handle(), SW_SHOW);
  SetForegroundWindow(dlg->Handle());
  Drain(*dlg);

  // The Overview shows: the hot key works whichever page is up. The F1 and Alt that stop the
  // recording are taken back out of it.
  const MacroRecorder& recorder = dlg->MacrosPage()->Recorder();
  Send(*dlg, AltF1());
  ASSERT_TRUE(recorder.Recording());
  Send(*dlg, Press('A'));
  Send(*dlg, Press('B'));
  Send(*dlg, AltF1());
  ASSERT_FALSE(recorder.Recording());
  const Macro& combo = dlg->MacrosPage()->Library().Macros[0];
  ASSERT_EQ(4, combo.EventCount);
  const MacroEvent recorded[] = {
      {kMsgKeyDown, 'A'}, {kMsgKeyUp, 'A'}, {kMsgKeyDown, 'B'}, {kMsgKeyUp, 'B'}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(recorded[i].Message, combo.Events[i].Message) << i;
    EXPECT_EQ(recorded[i].Data, combo.Events[i].Data) << i;
  }

  // The middle button runs the macro by hand, every 150 ms, chosen on the Buttons page.
  ShowTab(*dlg, ui::kTabButtons);
  ButtonsPageUser user(*dlg, prompts);
  user.ChooseFunction(2, ID_FUNCTION_MACRO);
  ASSERT_TRUE(user.ChooseMacro(u"Combo"));
  user.Click(user.Item(ui::kIdModeManual));
  user.TypeInterval(u"150");
  EXPECT_EQ(WindowText(user.Menu(2)), u"Macro...Combo");

  // Demo mode: Apply saves what the mouse would get and sends nothing.
  user.Click(GetDlgItem(dlg->Handle(), ui::kIdApply));
  EXPECT_TRUE(hid.Reports.empty());
  EXPECT_TRUE(prompts.Messages.empty());
  dlg.reset();

  DWORD exitCode = 99;
  const std::string image = RunProgram(
      L"\"" CORVANE_CLI_EXE L"\" image --dir \"" + folder.Path().wstring() + L"\"", exitCode);
  ASSERT_EQ(exitCode, 0u) << image;
  const std::vector<uint8_t> payload = Payload(image);
  // The second programmable button in Manual mode (00 | 1), 13 bytes: A down and up, B down and
  // up as the keyboard usages 04 and 05, the interval's 150 ms pause, the end mark.
  const uint8_t middle[] = {0x01, 0x00, 0x0D, 0x91, 0x04, 0x92, 0x04, 0x91,
                            0x05, 0x92, 0x05, 0xD8, 0x00, 0x00, 0x96, 0xFF};
  EXPECT_NE(std::search(payload.begin(), payload.end(), std::begin(middle), std::end(middle)),
            payload.end())
      << image;
}

}  // namespace
}  // namespace corvane::uitest
