// The device half of Apply: sends the configuration to the mouse's configuration interface.
// The program's Apply and `corvane-cli apply` and `image` all take their reports from here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/device_link.h"
#include "device/encoder.h"
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
  size_t ReportsTotal = 0;       // the start report and every frame, once the image is encoded
  size_t FailedReports = 0;      // how many of the reports sent failed
  size_t FirstFailedReport = 0;  // with FailedReports: its index (0 the start report, k frame k)
  HidError Error;                // with OpenFailed, or the first failed report: the system's reason
};

inline constexpr uint32_t kStartReportPause = 1000;  // ms
inline constexpr uint32_t kDemoPause = 500;          // ms
inline constexpr size_t kReportLength = 8;

// Announces an upload: report identifier 2, frame kind 4.
inline constexpr uint8_t kStartReport[kReportLength] = {0x02, 0x04, 0, 0, 0, 0, 0, 0};

// What an upload sends after the start report: the encoded image, one frame per report.
struct UploadImage {
  DeviceImage Image{};
  EncodeResult Encoded;

  size_t Frames() const {
    const size_t length = Encoded.Length < kDeviceImageSize ? Encoded.Length : kDeviceImageSize;
    return length / kReportLength;
  }
  const uint8_t* Frame(size_t k) const { return Image.Bytes + k * kReportLength; }
};

// The buttons that go to the mouse: 2 to ButtonCount (the left button is never sent), within
// the 16 assignments whatever the settings file says.
int UploadedButtonCount(const HardwareSettings& hardware);

// Encodes what the next upload sends. assignments: all 16. When the configuration does not fit,
// image.Encoded says by how much and nothing may be sent.
void EncodeUploadImage(const HardwareSettings& hardware, const PointerSettings& pointer,
                       const ButtonAssignment* assignments, const MacroLibrary& library,
                       UploadImage& image);

// Told after each report has gone out, before the pause that follows it. sent counts the start
// report; total is the start report and every frame.
class UploadObserver {
 public:
  virtual ~UploadObserver() = default;
  virtual void OnReportSent(size_t sent, size_t total, bool succeeded) = 0;
};

// assignments: all 16; assignment 1 (the left button) is never sent, 2..ButtonCount are.
// The reports go through the handle the DeviceList holds for the ConfigInterface; a separate
// read/write open of its path checks that the device is there and is the configured one.
// The sleeper is asked for its precise pauses for the whole of the sending.
UploadResult UploadConfiguration(HidPlatform& platform, Sleeper& sleeper, const DeviceLink& link,
                                 bool demo, const HardwareSettings& hardware,
                                 const PointerSettings& pointer,
                                 const ButtonAssignment* assignments, const MacroLibrary& library,
                                 UploadObserver* observer = nullptr);

}  // namespace corvane
