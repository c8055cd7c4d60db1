#include "device/upload.h"

#include <algorithm>

#include "device/encoder.h"
#include "device/hid_device.h"

namespace corvane {

UploadResult UploadConfiguration(HidPlatform& platform, Sleeper& sleeper, const DeviceLink& link,
                                 bool demo, const HardwareSettings& hardware,
                                 const PointerSettings& pointer,
                                 const ButtonAssignment* assignments,
                                 const MacroLibrary& library) {
  UploadResult result;
  if (!link.Present()) {
    if (!demo) return result;
    sleeper.Sleep(kDemoPause);
    result.Outcome = UploadOutcome::Demo;
    result.SaveAssignments = true;
    return result;
  }

  const HidDevice* config = link.ConfigInterface();
  if (!config) {
    result.Outcome = UploadOutcome::NoConfigInterface;
    return result;
  }

  // The path may now belong to another device: send nothing unless it is still ours.
  HidDevice readWrite;
  if (!OpenDevice(platform, readWrite, config->Path(), true, true, hardware.VendorId,
                  hardware.ProductId) ||
      !readWrite.Matches(hardware.VendorId, hardware.ProductId)) {
    result.Outcome = UploadOutcome::OpenFailed;
    return result;
  }

  // Encoded before anything is sent, so a configuration the mouse cannot hold never starts an
  // upload that would leave it half written.
  const int buttons = std::min(std::max(hardware.ButtonCount, 1), kMaxAssignments) - 1;
  DeviceImage image{};
  const EncodeResult encoded =
      EncodeDeviceImage(pointer.ResolutionX, pointer.ResolutionY, assignments + 1, buttons,
                        pointer.ReportRate, hardware.TurboLo, library, image);
  if (!encoded.Fits()) {
    result.Outcome = UploadOutcome::TooLarge;
    result.Overflow = encoded.Overflow;
    return result;
  }

  const HidHandle handle = config->Handle();
  // A negative delay from a hand-edited settings file means no delay, not a 49-day wait.
  const uint32_t delay =
      hardware.ReportDelay > 0 ? static_cast<uint32_t>(hardware.ReportDelay) : 0;

  const uint8_t start[kReportLength] = {0x02, 0x04, 0, 0, 0, 0, 0, 0};
  bool last = platform.SetOutputReport(handle, start, kReportLength);
  ++result.ReportsSent;
  sleeper.Sleep(kStartReportPause);

  const size_t length = std::min(encoded.Length, kDeviceImageSize) / kReportLength * kReportLength;
  for (size_t offset = 0; offset < length; offset += kReportLength) {
    uint8_t report[kReportLength];
    std::copy(image.Bytes + offset, image.Bytes + offset + kReportLength, report);
    last = platform.SetOutputReport(handle, report, kReportLength);  // a failure goes on
    ++result.ReportsSent;
    if (delay != 0) sleeper.Sleep(delay);
  }

  CloseDevice(readWrite);
  result.Outcome = last ? UploadOutcome::Sent : UploadOutcome::LastReportFailed;
  result.SaveAssignments = last;
  return result;
}

}  // namespace corvane
