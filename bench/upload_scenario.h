// The largest configuration that fits, uploaded through the fake HID platform with a real
// sleeper: what an upload takes beyond the pauses the mouse needs (1000 ms after the start
// report, Delay ms after every frame). Shared by the native and the Wine benchmark.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "device/device_link.h"
#include "device/sleeper.h"
#include "device/upload.h"
#include "model/macro_links.h"
#include "model/records.h"
#include "model/text.h"
#include "tests/fakes/fake_hid_platform.h"

namespace corvane::bench {

struct UploadTiming {
  size_t Frames = 0;
  double MandatedMs = 0;  // 1000 + frames x Delay
  double ElapsedMs = 0;
  double OverMs() const { return ElapsedMs - MandatedMs; }
  double OverPercent() const { return 100.0 * OverMs() / MandatedMs; }
};

class UploadScenario {
 public:
  // Fifteen buttons: seven Auto macros of 100 key events, a One-shot macro of 13 clicks and
  // seven plain functions, 1514 payload bytes; Delay 32.
  UploadScenario() {
    hardware_.ButtonCount = kMaxAssignments;
    hardware_.ReportDelay = 32;
    const int32_t stages[] = {1, 3, 7, 15};
    for (int i = 0; i < 4; ++i) pointer_.ResolutionX[i] = pointer_.ResolutionY[i] = stages[i];
    pointer_.ReportRate = 1;
    std::vector<MacroEvent> keys;
    for (int i = 0; i < 100; ++i)
      keys.push_back({i % 2 ? kMsgKeyUp : kMsgKeyDown, 0x41 + i / 2 % 26});
    const int big = AddMacro(keys);
    const int clicks = AddMacro(std::vector<MacroEvent>(13, MacroEvent{kMsgLButtonDown, 0}));
    assignments_[0].FunctionCode = 1;
    int button = 1;
    for (int i = 0; i < 7; ++i) Macro(button++, big, kModeAuto, 500);
    Macro(button++, clicks, kModeOneShot, 0);
    while (button < kMaxAssignments) assignments_[button++].FunctionCode = 2;
    hid_.AddMouse();
    link_.Discover(hid_, kSupportedVendorId, kSupportedProductId);
  }

  // One upload; Frames is 0 when it did not go out as expected.
  UploadTiming Run(Sleeper& sleeper) {
    hid_.ClearReports();
    const auto start = std::chrono::steady_clock::now();
    const UploadResult result = UploadConfiguration(hid_, sleeper, link_, false, hardware_,
                                                    pointer_, assignments_, *library_);
    const auto end = std::chrono::steady_clock::now();
    UploadTiming timing;
    if (result.Outcome != UploadOutcome::Sent) return timing;
    timing.Frames = result.ReportsTotal - 1;
    timing.MandatedMs =
        kStartReportPause + timing.Frames * static_cast<double>(hardware_.ReportDelay);
    timing.ElapsedMs = std::chrono::duration<double, std::milli>(end - start).count();
    return timing;
  }

 private:
  int AddMacro(const std::vector<MacroEvent>& events) {
    const int index = library_->MacroCount++;
    corvane::Macro& m = library_->Macros[index];
    CopyName(m.Name, index == 0 ? u"Keys" : u"Clicks");
    m.EventCount = static_cast<int32_t>(events.size());
    for (size_t i = 0; i < events.size(); ++i) m.Events[i] = events[i];
    return index;
  }
  void Macro(int button, int index, int32_t mode, uint32_t interval) {
    ButtonAssignment& a = assignments_[button];
    a.FunctionCode = kFunctionMacro;
    a.ExecutionMode = mode;
    a.ExecutionInterval = interval;
    AssignMacro(a, *library_, index);
  }

  fakes::FakeHidPlatform hid_;
  DeviceLink link_;
  HardwareSettings hardware_;
  PointerSettings pointer_{};
  ButtonAssignment assignments_[kMaxAssignments]{};
  std::unique_ptr<MacroLibrary> library_ = std::make_unique<MacroLibrary>();
};

}  // namespace corvane::bench
