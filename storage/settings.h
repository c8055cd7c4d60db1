// The settings file Corvane.ini in the application folder. Each owner loads the keys it needs and
// saves them back on Apply; there is no settings object and no cache: every call builds the path
// afresh and parses the file once. Loads take the values held as the defaults of missing keys;
// failures are silent (a missing file is a file without keys).
#pragma once

#include <cstdint>
#include <optional>

#include "model/recording_options.h"
#include "model/records.h"

namespace corvane {
namespace profile {
class Document;
}

// Section "Application", and the hardware key MemoryLength; read only.
struct ApplicationSettings {
  uint32_t Lcid = 0;                 // LCID: 0 uses the built-in strings only
  int32_t StartWithWindows = 0;      // held; nothing depends on it
  int32_t MinimizeToSystemTray = 1;  // held; nothing depends on it
  int32_t Demo = 0;                  // nonzero: the pages and Apply work without a mouse
  uint32_t MemoryLength = 0x1000;    // Hardware MemoryLength, held; nothing depends on it
};

// Section "Buttons", the keys that tune the Buttons page; read only.
struct ButtonSettings {
  int32_t UseComboBox = 0;
  uint32_t IntervalMin = 66;
  uint32_t IntervalMax = 99999;
  int32_t IntervalMaxDigits = 5;
};

inline constexpr int kMinButtonCount = 2;
inline constexpr int kMaxButtonCount = 8;
inline constexpr int kMinResolutions = 1;
inline constexpr int kMaxResolutions = 5;

// LCID, StartWithWindows, MinimizeToSystemTray, Demo, then VID, PID, MemoryLength, Buttons,
// Delay, TurboLo. VID and PID keep their low 16 bits, TurboLo its low 8 bits; Buttons is held to
// 2..8 (the Buttons page has eight rows and the device needs a button beside the left one).
void LoadHardwareSettings(ApplicationSettings& application, HardwareSettings& hardware);

// UseComboBox, IntervalMin, IntervalMax, IntervalMaxDigits, then records "1".."buttonCount"
// (buttonCount held to 0..16). Each record starts all zero, takes the stored 280 bytes when they
// read well, and is validated: ExecutionMode outside 0..2 becomes 0, an ExecutionInterval outside
// IntervalMin..IntervalMax (unsigned) becomes IntervalMin, and the macro links are resolved by
// name against library. Records beyond buttonCount are left as they are.
void LoadButtonAssignments(ButtonSettings& settings, ButtonAssignment* assignments, int buttonCount,
                           const MacroLibrary& library);

// Writes records "1".."buttonCount" (held to 0..16) and nothing else.
bool SaveButtonAssignments(const ButtonAssignment* assignments, int buttonCount);
// The same into a document held by the caller, which saves it.
void StoreButtonAssignments(profile::Document& doc, const ButtonAssignment* assignments,
                            int buttonCount);

// The stages held before the file is read: 4 stages of 400, 800, 1600 and 3200 DPI (the rest
// 3200), X = Y off, report rate code 2000.
PointerSettings DefaultPointerSettings();

// Hardware Resolutions (held to 1..5), XequalY, ReportRate, then keys 1..Resolutions of
// "ResolutionX" and then of "ResolutionY". Stages beyond Resolutions keep their values.
void LoadPointerSettings(PointerSettings& pointer);

// XequalY, ReportRate, PointerSpeed, PointerAcceleration, then keys 1..Resolutions (held to
// 1..5) of "ResolutionX" and "ResolutionY". Resolutions itself is never written.
bool SavePointerSettings(const PointerSettings& pointer, int32_t pointerSpeed,
                         int32_t pointerAcceleration);
// The same into a document held by the caller; a speed or acceleration without a value is left
// as the document has it.
void StorePointerSettings(profile::Document& doc, const PointerSettings& pointer,
                          std::optional<int32_t> pointerSpeed,
                          std::optional<int32_t> pointerAcceleration);

// Section "Recording" in the order of RecordingOptions; RecordingHotkey is hexadecimal.
void LoadRecordingOptions(RecordingOptions& options);

// The five recording flags as integers and RecordingHotkey as hexadecimal; the three delay keys
// are never written.
bool SaveRecordingOptions(const RecordingOptions& options);
// The same into a document held by the caller.
void StoreRecordingOptions(profile::Document& doc, const RecordingOptions& options);

// Key "button" (1-based) of section "ButtonsDefault": a FunctionCode; missing gives button - 1.
int32_t LoadButtonsDefault(int button);

}  // namespace corvane
