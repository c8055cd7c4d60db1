#include "storage/settings.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "model/macro_links.h"
#include "storage/app_folder.h"
#include "storage/profile.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

using profile::Document;

constexpr std::u16string_view kApplication = u"Application";
constexpr std::u16string_view kHardware = u"Hardware";
constexpr std::u16string_view kButtons = u"Buttons";
constexpr std::u16string_view kButtonsDefault = u"ButtonsDefault";
constexpr std::u16string_view kResolutionX = u"ResolutionX";
constexpr std::u16string_view kResolutionY = u"ResolutionY";
constexpr std::u16string_view kRecording = u"Recording";

int ClampedCount(int count, int low, int high) { return std::clamp(count, low, high); }

void ValidateAssignment(ButtonAssignment& a, const ButtonSettings& settings) {
  if (a.ExecutionMode < kModeAuto || a.ExecutionMode > kModeOneShot) a.ExecutionMode = kModeAuto;
  if (a.ExecutionInterval < settings.IntervalMin || a.ExecutionInterval > settings.IntervalMax)
    a.ExecutionInterval = settings.IntervalMin;
}

}  // namespace

void LoadHardwareSettings(ApplicationSettings& application, HardwareSettings& hardware) {
  const Document doc = Document::Load(SettingsFilePath());
  application.Lcid = static_cast<uint32_t>(
      doc.GetInt(kApplication, u"LCID", static_cast<int32_t>(application.Lcid)));
  application.StartWithWindows =
      doc.GetInt(kApplication, u"StartWithWindows", application.StartWithWindows);
  application.MinimizeToSystemTray =
      doc.GetInt(kApplication, u"MinimizeToSystemTray", application.MinimizeToSystemTray);
  application.Demo = doc.GetInt(kApplication, u"Demo", application.Demo);

  hardware.VendorId = static_cast<uint16_t>(doc.GetHex(kHardware, u"VID", hardware.VendorId));
  hardware.ProductId = static_cast<uint16_t>(doc.GetHex(kHardware, u"PID", hardware.ProductId));
  application.MemoryLength = doc.GetHex(kHardware, u"MemoryLength", application.MemoryLength);
  hardware.ButtonCount = ClampedCount(doc.GetInt(kHardware, u"Buttons", hardware.ButtonCount),
                                      kMinButtonCount, kMaxButtonCount);
  hardware.ReportDelay = doc.GetInt(kHardware, u"Delay", hardware.ReportDelay);
  hardware.TurboLo = static_cast<uint8_t>(doc.GetInt(kHardware, u"TurboLo", hardware.TurboLo));
}

void LoadButtonAssignments(ButtonSettings& settings, ButtonAssignment* assignments, int buttonCount,
                           const MacroLibrary& library) {
  const Document doc = Document::Load(SettingsFilePath());
  settings.UseComboBox = doc.GetInt(kButtons, u"UseComboBox", settings.UseComboBox);
  settings.IntervalMin = static_cast<uint32_t>(
      doc.GetInt(kButtons, u"IntervalMin", static_cast<int32_t>(settings.IntervalMin)));
  settings.IntervalMax = static_cast<uint32_t>(
      doc.GetInt(kButtons, u"IntervalMax", static_cast<int32_t>(settings.IntervalMax)));
  settings.IntervalMaxDigits =
      doc.GetInt(kButtons, u"IntervalMaxDigits", settings.IntervalMaxDigits);

  const int count = ClampedCount(buttonCount, 0, kMaxAssignments);
  for (int i = 0; i < count; ++i) {
    ButtonAssignment& a = assignments[i];
    std::memset(&a, 0, sizeof a);
    // A value that fails to read (missing, wrong length, bad digit or sum) leaves all zeros.
    if (!doc.GetStruct(kButtons, text::DecimalText(i + 1), &a, sizeof a))
      std::memset(&a, 0, sizeof a);
    ValidateAssignment(a, settings);
  }
  ResolveMacroLinks(assignments, count, library);
}

void StoreButtonAssignments(Document& doc, const ButtonAssignment* assignments, int buttonCount) {
  const int count = ClampedCount(buttonCount, 0, kMaxAssignments);
  for (int i = 0; i < count; ++i)
    doc.SetStruct(kButtons, text::DecimalText(i + 1), &assignments[i], sizeof assignments[i]);
}

bool SaveButtonAssignments(const ButtonAssignment* assignments, int buttonCount) {
  const std::u16string path = SettingsFilePath();
  Document doc = Document::Load(path);
  StoreButtonAssignments(doc, assignments, buttonCount);
  return doc.Save(path);
}

PointerSettings DefaultPointerSettings() {
  PointerSettings pointer{};
  pointer.Resolutions = 4;
  pointer.XequalY = 0;
  pointer.ReportRate = 2000;
  static constexpr int32_t kStages[kMaxStages] = {1, 3, 7, 15, 15, 15, 15, 15};
  for (int i = 0; i < kMaxStages; ++i) {
    pointer.ResolutionX[i] = kStages[i];
    pointer.ResolutionY[i] = kStages[i];
  }
  return pointer;
}

void LoadPointerSettings(PointerSettings& pointer) {
  const Document doc = Document::Load(SettingsFilePath());
  pointer.Resolutions = ClampedCount(doc.GetInt(kHardware, u"Resolutions", pointer.Resolutions),
                                     kMinResolutions, kMaxResolutions);
  pointer.XequalY = doc.GetInt(kHardware, u"XequalY", pointer.XequalY);
  pointer.ReportRate = doc.GetInt(kHardware, u"ReportRate", pointer.ReportRate);
  for (int i = 0; i < pointer.Resolutions; ++i)
    pointer.ResolutionX[i] =
        doc.GetInt(kResolutionX, text::DecimalText(i + 1), pointer.ResolutionX[i]);
  for (int i = 0; i < pointer.Resolutions; ++i)
    pointer.ResolutionY[i] =
        doc.GetInt(kResolutionY, text::DecimalText(i + 1), pointer.ResolutionY[i]);
}

void StorePointerSettings(Document& doc, const PointerSettings& pointer,
                          std::optional<int32_t> pointerSpeed,
                          std::optional<int32_t> pointerAcceleration) {
  doc.SetInt(kHardware, u"XequalY", pointer.XequalY);
  doc.SetInt(kHardware, u"ReportRate", pointer.ReportRate);
  if (pointerSpeed) doc.SetInt(kHardware, u"PointerSpeed", *pointerSpeed);
  if (pointerAcceleration) doc.SetInt(kHardware, u"PointerAcceleration", *pointerAcceleration);
  const int stages = ClampedCount(pointer.Resolutions, kMinResolutions, kMaxResolutions);
  for (int i = 0; i < stages; ++i) {
    doc.SetInt(kResolutionX, text::DecimalText(i + 1), pointer.ResolutionX[i]);
    doc.SetInt(kResolutionY, text::DecimalText(i + 1), pointer.ResolutionY[i]);
  }
}

bool SavePointerSettings(const PointerSettings& pointer, int32_t pointerSpeed,
                         int32_t pointerAcceleration) {
  const std::u16string path = SettingsFilePath();
  Document doc = Document::Load(path);
  StorePointerSettings(doc, pointer, pointerSpeed, pointerAcceleration);
  return doc.Save(path);
}

void LoadRecordingOptions(RecordingOptions& o) {
  const Document doc = Document::Load(SettingsFilePath());
  o.DelayDefault = doc.GetInt(kRecording, u"DelayDefault", o.DelayDefault);
  o.DelayMax = doc.GetInt(kRecording, u"DelayMax", o.DelayMax);
  o.DelayMaxDigits = doc.GetInt(kRecording, u"DelayMaxDigits", o.DelayMaxDigits);
  o.RecordingMouse = doc.GetInt(kRecording, u"RecordingMouse", o.RecordingMouse);
  o.RecordingKeyboard = doc.GetInt(kRecording, u"RecordingKeyboard", o.RecordingKeyboard);
  o.RecordingDelay = doc.GetInt(kRecording, u"RecordingDelay", o.RecordingDelay);
  o.RecordingMinimize = doc.GetInt(kRecording, u"RecordingMinimize", o.RecordingMinimize);
  o.RecordingUseHotkey = doc.GetInt(kRecording, u"RecordingUseHotkey", o.RecordingUseHotkey);
  o.RecordingHotkey = doc.GetHex(kRecording, u"RecordingHotkey", o.RecordingHotkey);
}

void StoreRecordingOptions(Document& doc, const RecordingOptions& o) {
  doc.SetInt(kRecording, u"RecordingMouse", o.RecordingMouse);
  doc.SetInt(kRecording, u"RecordingKeyboard", o.RecordingKeyboard);
  doc.SetInt(kRecording, u"RecordingDelay", o.RecordingDelay);
  doc.SetInt(kRecording, u"RecordingMinimize", o.RecordingMinimize);
  doc.SetInt(kRecording, u"RecordingUseHotkey", o.RecordingUseHotkey);
  doc.SetHex(kRecording, u"RecordingHotkey", o.RecordingHotkey);
}

bool SaveRecordingOptions(const RecordingOptions& o) {
  const std::u16string path = SettingsFilePath();
  Document doc = Document::Load(path);
  StoreRecordingOptions(doc, o);
  return doc.Save(path);
}

int32_t LoadButtonsDefault(int button) {
  return profile::ReadInt(SettingsFilePath(), kButtonsDefault, text::DecimalText(button),
                          button - 1);
}

}  // namespace corvane
