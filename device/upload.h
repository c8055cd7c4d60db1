// The device half of Apply: sends the configuration to the mouse's configuration interface.
#pragma once

#include <cstddef>

#include "device/device_link.h"
#include "device/hid_platform.h"
#include "device/sleeper.h"
#include "model/records.h"

namespace corvane {

enum class UploadOutcome {
  Sent,               // every report went out and the last one succeeded
  LastReportFailed,   // the last report failed (earlier ones may have reached the mouse)
  NoMouse,            // not present, no demo: nothing done
  NoConfigInterface,  // present, but no interface takes output reports: nothing sent
  OpenFailed,         // the configuration interface did not open for reading and writing, or
                      // is no longer the configured device: nothing sent
  TooLarge,           // the configuration does not fit in the device image: nothing sent
  Demo,               // not present, demo mode: a pause and nothing sent
};

struct UploadResult {
  UploadOutcome Outcome = UploadOutcome::NoMouse;
  bool SaveAssignments = false;  // whether Apply goes on to save the button assignments
  size_t Overflow = 0;           // with TooLarge: payload bytes beyond what the image holds
  size_t ReportsSent = 0;        // output reports attempted, the start report included
};

inline constexpr uint32_t kStartReportPause = 1000;  // ms
inline constexpr uint32_t kDemoPause = 500;          // ms
inline constexpr size_t kReportLength = 8;

// assignments: all 16; assignment 1 (the left button) is never sent, 2..ButtonCount are.
// The reports go through the handle the DeviceList holds for the ConfigInterface; a separate
// read/write open of its path checks that the device is there and is the configured one.
UploadResult UploadConfiguration(HidPlatform& platform, Sleeper& sleeper, const DeviceLink& link,
                                 bool demo, const HardwareSettings& hardware,
                                 const PointerSettings& pointer,
                                 const ButtonAssignment* assignments,
                                 const MacroLibrary& library);

}  // namespace corvane
