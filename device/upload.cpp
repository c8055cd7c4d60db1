#include "device/upload.h"

#include <algorithm>
#include <memory>

#include "device/hid_device.h"

namespace corvane {

int UploadedButtonCount(const HardwareSettings& hardware) {
  return std::min(std::max(hardware.ButtonCount, 1), kMaxAssignments) - 1;
}

void EncodeUploadImage(const HardwareSettings& hardware, const PointerSettings& pointer,
                       const ButtonAssignment* assignments, const MacroLibrary& library,
                       UploadImage& image) {
  image.Image = DeviceImage{};
  image.Encoded = EncodeDeviceImage(pointer.ResolutionX, pointer.ResolutionY, assignments + 1,
                                    UploadedButtonCount(hardware), pointer.ReportRate,
                                    hardware.TurboLo, library, image.Image);
}

UploadResult UploadConfiguration(HidPlatform& platform, Sleeper& sleeper, const DeviceLink& link,
                                 bool demo, const HardwareSettings& hardware,
                                 const PointerSettings& pointer,
                                 const ButtonAssignment* assignments, const MacroLibrary& library,
                                 UploadObserver* observer) {
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
                  hardware.ProductId)) {
    result.Outcome = UploadOutcome::OpenFailed;
    result.Error = platform.LastError();
    return result;
  }
  if (!readWrite.Matches(hardware.VendorId, hardware.ProductId)) {
    result.Outcome = UploadOutcome::OpenFailed;
    return result;
  }

  // Encoded before anything is sent, so a configuration the mouse cannot hold never starts an
  // upload that would leave it half written. About 2 KB, kept off the caller's stack.
  auto image = std::make_unique<UploadImage>();
  EncodeUploadImage(hardware, pointer, assignments, library, *image);
  if (!image->Encoded.Fits()) {
    result.Outcome = UploadOutcome::TooLarge;
    result.Overflow = image->Encoded.Overflow;
    return result;
  }

  const HidHandle handle = config->Handle();
  // A negative delay from a hand-edited settings file means no delay, not a 49-day wait.
  const uint32_t delay = hardware.ReportDelay > 0 ? static_cast<uint32_t>(hardware.ReportDelay) : 0;
  const size_t frames = image->Frames();
  result.ReportsTotal = 1 + frames;

  PrecisePauses precise(sleeper);
  bool last = false;
  auto send = [&](const uint8_t* report) {
    uint8_t buffer[kReportLength];
    std::copy(report, report + kReportLength, buffer);
    last = platform.SetOutputReport(handle, buffer, kReportLength);  // a failure goes on
    if (!last && result.FailedReports++ == 0) {
      result.FirstFailedReport = result.ReportsSent;
      result.Error = platform.LastError();
    }
    ++result.ReportsSent;
    if (observer) observer->OnReportSent(result.ReportsSent, result.ReportsTotal, last);
  };

  send(kStartReport);
  sleeper.Sleep(kStartReportPause);
  for (size_t k = 0; k < frames; ++k) {
    send(image->Frame(k));
    if (delay != 0) sleeper.Sleep(delay);
  }

  CloseDevice(readWrite);
  result.Outcome = last ? UploadOutcome::Sent : UploadOutcome::LastReportFailed;
  result.SaveAssignments = last;
  return result;
}

}  // namespace corvane
