// Cost of one EncodeDeviceImage call, the work Apply does before the first report goes out.
#include "device/encoder.h"
#include "model/macro_links.h"
#include "model/text.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace corvane;

struct Setup {
  int32_t res[4] = {1, 3, 7, 15};
  std::vector<ButtonAssignment> buttons;
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
  size_t expectedPayload = 0;

  int AddMacro(const std::vector<MacroEvent>& events) {
    const int index = library->MacroCount++;
    Macro& m = library->Macros[index];
    CopyName(m.Name, u"Macro");
    m.EventCount = static_cast<int32_t>(events.size());
    for (size_t i = 0; i < events.size(); ++i) m.Events[i] = events[i];
    return index;
  }
  ButtonAssignment Button(int32_t code) const {
    ButtonAssignment a{};
    a.FunctionCode = code;
    a.MacroIndex = -1;
    return a;
  }
  ButtonAssignment MacroButton(int index, int32_t mode, uint32_t interval) const {
    ButtonAssignment a = Button(kFunctionMacro);
    a.ExecutionMode = mode;
    a.ExecutionInterval = interval;
    AssignMacro(a, *library, index);
    return a;
  }
  void Run(benchmark::State& state) {
    for (auto _ : state) {
      const EncodeResult r = EncodeDeviceImage(
          res, res, buttons.data(), static_cast<int>(buttons.size()), 1, 0, *library, *image);
      benchmark::DoNotOptimize(r);
      benchmark::ClobberMemory();
      if (expectedPayload != 0 && r.PayloadLength != expectedPayload)
        state.SkipWithError("unexpected payload length");
    }
  }
};

// The demo-like configuration: six buttons, one of them a small macro.
void BM_EncodeTypical(benchmark::State& state) {
  Setup s;
  const int m = s.AddMacro({{kMsgKeyDown, 0x41}, {kMsgDelay, 50}, {kMsgKeyUp, 0x41}});
  ButtonAssignment hotKey = s.Button(kFunctionHotKey);
  hotKey.HotKeyVk = 0x43;
  hotKey.HotKeyModifiers = kModLeftCtrl;
  s.buttons = {s.Button(2), s.Button(3), s.Button(4),
               s.Button(5), hotKey,      s.MacroButton(m, kModeManual, 500)};
  s.Run(state);
}
BENCHMARK(BM_EncodeTypical);

// The largest configuration that fits: 1514 payload bytes over fifteen buttons. Seven Auto
// macros of 100 key events with a repeat pause (3 + 200 + 4 + 1 = 208 bytes each), a One-shot
// macro of 13 clicks (3 + 26 + 1 = 30) and seven function rows (4 each).
void BM_EncodeMaximal(benchmark::State& state) {
  Setup s;
  std::vector<MacroEvent> keys;
  for (int i = 0; i < 100; ++i)
    keys.push_back({i % 2 ? kMsgKeyUp : kMsgKeyDown, 0x41 + i / 2 % 26});
  const int big = s.AddMacro(keys);
  const int clicks = s.AddMacro(std::vector<MacroEvent>(13, MacroEvent{kMsgLButtonDown, 0}));
  for (int i = 0; i < 7; ++i) s.buttons.push_back(s.MacroButton(big, kModeAuto, 500));
  s.buttons.push_back(s.MacroButton(clicks, kModeOneShot, 0));
  while (s.buttons.size() < 15) s.buttons.push_back(s.Button(1));
  s.expectedPayload = kMaxPayload;
  s.Run(state);
}
BENCHMARK(BM_EncodeMaximal);

}  // namespace
