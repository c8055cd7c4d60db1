#include "storage/settings.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "model/macro_links.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/profile.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace settings {
namespace {

int64_t Raw(const profile::Document& doc, const Value& v, int64_t held) {
  switch (v.encoding) {
    case Encoding::kHex:
    case Encoding::kId: return doc.GetHex(v.section, v.key, static_cast<uint32_t>(held));
    case Encoding::kInt:
    case Encoding::kRate: break;
  }
  return doc.GetInt(v.section, v.key, static_cast<int32_t>(held));
}

// What loading makes of what the key holds.
template <class T>
void LoadInto(const profile::Document& doc, const Value& v, T& field) {
  const int64_t raw = Raw(doc, v, field);
  switch (v.load) {
    case Load::kTaken: field = static_cast<T>(raw); return;
    case Load::kClamped: field = static_cast<T>(std::clamp(raw, v.low, v.high)); return;
    case Load::kLowBits: field = static_cast<T>(raw & v.high); return;
  }
}

}  // namespace

void LoadValue(const profile::Document& doc, const Value& v, int32_t& field) {
  LoadInto(doc, v, field);
}
void LoadValue(const profile::Document& doc, const Value& v, uint32_t& field) {
  LoadInto(doc, v, field);
}
void LoadValue(const profile::Document& doc, const Value& v, uint16_t& field) {
  LoadInto(doc, v, field);
}
void LoadValue(const profile::Document& doc, const Value& v, uint8_t& field) {
  LoadInto(doc, v, field);
}
void LoadValue(const profile::Document& doc, const Value& v, std::optional<int32_t>& field) {
  field.reset();
  if (!doc.Get(v.section, v.key)) return;
  int32_t value = 0;
  LoadInto(doc, v, value);
  field = value;
}

void StoreValue(profile::Document& doc, const Value& v, int64_t field) {
  switch (v.encoding) {
    case Encoding::kHex:
    case Encoding::kId: doc.SetHex(v.section, v.key, static_cast<uint32_t>(field)); return;
    case Encoding::kInt:
    case Encoding::kRate: doc.SetInt(v.section, v.key, static_cast<int32_t>(field)); return;
  }
}

void StoreValue(profile::Document& doc, const Value& v, const std::optional<int32_t>& field) {
  if (field) StoreValue(doc, v, *field);
}

}  // namespace settings

namespace {

using profile::Document;
using settings::kSectionButtons;
using settings::kSectionButtonsDefault;
using settings::kSectionResolutionX;
using settings::kSectionResolutionY;

int ClampedCount(int count, int low, int high) { return std::clamp(count, low, high); }

void ValidateAssignment(ButtonAssignment& a, const ButtonSettings& settings) {
  if (a.ExecutionMode < kModeAuto || a.ExecutionMode > kModeOneShot) a.ExecutionMode = kModeAuto;
  if (a.ExecutionInterval < settings.IntervalMin || a.ExecutionInterval > settings.IntervalMax)
    a.ExecutionInterval = settings.IntervalMin;
  // The name is text, as every reader of it takes it: terminated, and whole characters.
  const std::u16string name = text::Utf8ToUtf16(text::Utf16ToUtf8(NameView(a.MacroName)));
  if (name != NameView(a.MacroName) || NameView(a.MacroName).size() >= kAssignmentNameUnits)
    CopyName(a.MacroName, name);
}

template <class Save>
bool SaveSettings(Save&& store) {
  const std::u16string path = SettingsFilePath();
  Document doc = Document::Load(path);
  store(doc);
  return doc.Save(path);
}

}  // namespace

Document LoadSettingsDocument() { return Document::Load(SettingsFilePath()); }

void LoadHardwareSettings(const Document& doc, ApplicationSettings& application,
                          HardwareSettings& hardware) {
  settings::LoadValuesOf(doc, application);
  settings::LoadValuesOf(doc, hardware);
}

void LoadHardwareSettings(ApplicationSettings& application, HardwareSettings& hardware) {
  LoadHardwareSettings(LoadSettingsDocument(), application, hardware);
}

void LoadButtonAssignments(const Document& doc, ButtonSettings& settings,
                           ButtonAssignment* assignments, int buttonCount,
                           const MacroLibrary& library) {
  settings::LoadValuesOf(doc, settings);
  const int count = ClampedCount(buttonCount, 0, kMaxAssignments);
  for (int i = 0; i < count; ++i) {
    ButtonAssignment& a = assignments[i];
    std::memset(&a, 0, sizeof a);
    // A value that fails to read (missing, wrong length, bad digit or sum) leaves all zeros.
    if (!doc.GetStruct(kSectionButtons, text::DecimalText(i + 1), &a, sizeof a))
      std::memset(&a, 0, sizeof a);
    ValidateAssignment(a, settings);
  }
  ResolveMacroLinks(assignments, count, library);
}

void LoadButtonAssignments(ButtonSettings& settings, ButtonAssignment* assignments, int buttonCount,
                           const MacroLibrary& library) {
  LoadButtonAssignments(LoadSettingsDocument(), settings, assignments, buttonCount, library);
}

void StoreButtonAssignments(Document& doc, const ButtonAssignment* assignments, int buttonCount) {
  const int count = ClampedCount(buttonCount, 0, kMaxAssignments);
  for (int i = 0; i < count; ++i)
    doc.SetStruct(kSectionButtons, text::DecimalText(i + 1), &assignments[i],
                  sizeof assignments[i]);
}

bool SaveButtonAssignments(const ButtonAssignment* assignments, int buttonCount) {
  return SaveSettings(
      [&](Document& doc) { StoreButtonAssignments(doc, assignments, buttonCount); });
}

PointerSettings DefaultPointerSettings() { return PointerSettings{}; }

void LoadPointerSettings(const Document& doc, PointerSettings& pointer) {
  settings::LoadValuesOf(doc, pointer);
  for (int i = 0; i < pointer.Resolutions; ++i)
    pointer.ResolutionX[i] =
        doc.GetInt(kSectionResolutionX, text::DecimalText(i + 1), pointer.ResolutionX[i]);
  for (int i = 0; i < pointer.Resolutions; ++i)
    pointer.ResolutionY[i] =
        doc.GetInt(kSectionResolutionY, text::DecimalText(i + 1), pointer.ResolutionY[i]);
}

void LoadPointerSettings(PointerSettings& pointer) {
  LoadPointerSettings(LoadSettingsDocument(), pointer);
}

AppliedPointer LoadAppliedPointer(const Document& doc) {
  AppliedPointer applied;
  settings::LoadValuesOf(doc, applied);
  return applied;
}

void StorePointerSettings(Document& doc, const PointerSettings& pointer,
                          const AppliedPointer& applied) {
  settings::StoreValuesOf(doc, pointer, false);
  settings::StoreValuesOf(doc, applied, false);
  const int stages = ClampedCount(pointer.Resolutions, kMinResolutions, kMaxResolutions);
  for (int i = 0; i < stages; ++i) {
    doc.SetInt(kSectionResolutionX, text::DecimalText(i + 1), pointer.ResolutionX[i]);
    doc.SetInt(kSectionResolutionY, text::DecimalText(i + 1), pointer.ResolutionY[i]);
  }
}

bool SavePointerSettings(const PointerSettings& pointer, int32_t pointerSpeed,
                         int32_t pointerAcceleration) {
  return SaveSettings([&](Document& doc) {
    StorePointerSettings(doc, pointer, AppliedPointer{pointerSpeed, pointerAcceleration});
  });
}

void LoadRecordingOptions(const Document& doc, RecordingOptions& o) {
  settings::LoadValuesOf(doc, o);
}

void LoadRecordingOptions(RecordingOptions& o) { LoadRecordingOptions(LoadSettingsDocument(), o); }

void StoreRecordingOptions(Document& doc, const RecordingOptions& o) {
  settings::StoreValuesOf(doc, o, false);
}

bool SaveRecordingOptions(const RecordingOptions& o) {
  return SaveSettings([&](Document& doc) { StoreRecordingOptions(doc, o); });
}

int32_t LoadButtonsDefault(const Document& doc, int button) {
  return doc.GetInt(kSectionButtonsDefault, text::DecimalText(button), button - 1);
}

int32_t LoadButtonsDefault(int button) {
  return LoadButtonsDefault(LoadSettingsDocument(), button);
}

void LoadButtonsDefaults(const Document& doc, int32_t* codes, int count) {
  count = ClampedCount(count, 0, kMaxButtonCount);
  for (int i = 0; i < count; ++i) codes[i] = LoadButtonsDefault(doc, i + 1);
}

void StoreButtonsDefaults(Document& doc, const int32_t* codes, int count) {
  count = ClampedCount(count, 0, kMaxButtonCount);
  for (int i = 0; i < count; ++i)
    doc.SetInt(kSectionButtonsDefault, text::DecimalText(i + 1), codes[i]);
}

}  // namespace corvane
