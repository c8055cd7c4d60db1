// The settings file Corvane.ini in the application folder. Each owner loads the keys it needs and
// saves them back on Apply; there is no settings object and no cache. A caller that loads for
// several owners at once (the program at start, a corvane-cli command) parses the file once with
// LoadSettingsDocument and hands that document to each loader; the loaders without a document
// parse the file afresh. Loads take the values held as the defaults of missing keys; failures
// are silent (a missing file is a file without keys).
//
// Every section and key is declared once, in storage/settings.def, with how it is read, written
// and carried in the configuration document. ForEachValue walks the declarations.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

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

// Hardware PointerSpeed and PointerAcceleration: the system values the Pointer page applied last,
// written on Apply and never read by the program; missing until the first Apply.
struct AppliedPointer {
  std::optional<int32_t> PointerSpeed;
  std::optional<int32_t> PointerAcceleration;
};

namespace settings {

#define CORVANE_SECTION(id, name) inline constexpr std::u16string_view kSection##id = name;
#define CORVANE_KEY(id, name)     inline constexpr std::u16string_view kKey##id = name;
#define CORVANE_VALUE(...)
#include "storage/settings.def"
#undef CORVANE_SECTION
#undef CORVANE_KEY
#undef CORVANE_VALUE

// The columns of a CORVANE_VALUE line of storage/settings.def, where they are explained.
enum class Encoding : uint8_t { kInt, kHex, kId, kRate };
enum class Load : uint8_t { kTaken, kClamped, kLowBits };
enum class Written : uint8_t { kReadOnly, kOnApply, kAppliedOnly };

struct Value {
  std::u16string_view section;
  std::u16string_view key;
  Encoding encoding;
  Load load;
  int64_t low;
  int64_t high;
  Written written;
  std::string_view group;  // where the configuration document holds it
  std::string_view name;
};

// Calls visit(value, member) for every value of the list, in its order; member points to the
// field that holds it (&HardwareSettings::ButtonCount ...).
template <class Visit>
void ForEachValue(Visit&& visit) {
#define CORVANE_SECTION(...)
#define CORVANE_KEY(...)
#define CORVANE_VALUE(owner, field, section, key, encoding, load, low, high, written, group, name) \
  visit(Value{kSection##section, key, Encoding::k##encoding, Load::k##load, low, high,             \
              Written::k##written, #group, #name},                                                 \
        &owner::field);
#include "storage/settings.def"
#undef CORVANE_SECTION
#undef CORVANE_KEY
#undef CORVANE_VALUE
}

// The record a member pointer of the list belongs to.
template <class Member>
struct OwnerOf;
template <class Owner, class Type>
struct OwnerOf<Type Owner::*> {
  using type = Owner;
};
template <class Member>
using OwnerOfT = typename OwnerOf<Member>::type;

// Each value as loading reads it: the field's value is the default of a missing key.
void LoadValue(const profile::Document& doc, const Value& value, int32_t& field);
void LoadValue(const profile::Document& doc, const Value& value, uint32_t& field);
void LoadValue(const profile::Document& doc, const Value& value, uint16_t& field);
void LoadValue(const profile::Document& doc, const Value& value, uint8_t& field);
void LoadValue(const profile::Document& doc, const Value& value, std::optional<int32_t>& field);
// Each value as its owner writes it; an optional without a value writes nothing.
void StoreValue(profile::Document& doc, const Value& value, int64_t field);
void StoreValue(profile::Document& doc, const Value& value, const std::optional<int32_t>& field);

// Loads every value of owner's record, in list order.
template <class Owner>
void LoadValuesOf(const profile::Document& doc, Owner& owner) {
  ForEachValue([&](const Value& value, auto member) {
    if constexpr (std::is_same_v<OwnerOfT<decltype(member)>, Owner>)
      LoadValue(doc, value, owner.*member);
  });
}

// Writes the values of owner's record that its owner writes back on Apply (applied), or every
// value (a restore, which writes the read-only keys too).
template <class Owner>
void StoreValuesOf(profile::Document& doc, const Owner& owner, bool everyValue) {
  ForEachValue([&](const Value& value, auto member) {
    if constexpr (std::is_same_v<OwnerOfT<decltype(member)>, Owner>) {
      if (everyValue || value.written != Written::kReadOnly) StoreValue(doc, value, owner.*member);
    }
  });
}

}  // namespace settings

// Corvane.ini of the application folder, parsed once, for loaders that take a document. A
// missing file gives an empty document (every key missing), one that cannot be read an empty
// document that says Unreadable().
profile::Document LoadSettingsDocument();

inline constexpr int kMinButtonCount = 2;
inline constexpr int kMaxButtonCount = 8;
inline constexpr int kMinResolutions = 1;
inline constexpr int kMaxResolutions = 5;

// LCID, StartWithWindows, MinimizeToSystemTray, Demo, then VID, PID, MemoryLength, Buttons,
// Delay, TurboLo. VID and PID keep their low 16 bits, TurboLo its low 8 bits; Buttons is held to
// 2..8 (the Buttons page has eight rows and the device needs a button beside the left one).
void LoadHardwareSettings(const profile::Document& settings, ApplicationSettings& application,
                          HardwareSettings& hardware);
void LoadHardwareSettings(ApplicationSettings& application, HardwareSettings& hardware);

// UseComboBox, IntervalMin, IntervalMax, IntervalMaxDigits, then records "1".."buttonCount"
// (buttonCount held to 0..16). Each record starts all zero, takes the stored 280 bytes when they
// read well, and is validated: ExecutionMode outside 0..2 becomes 0, an ExecutionInterval outside
// IntervalMin..IntervalMax (unsigned) becomes IntervalMin, a MacroName without its terminator
// loses its last unit and unpaired surrogates in it become U+FFFD (a name is text), and the macro
// links are resolved by name against library. Records beyond buttonCount are left as they are.
void LoadButtonAssignments(const profile::Document& settings, ButtonSettings& buttonSettings,
                           ButtonAssignment* assignments, int buttonCount,
                           const MacroLibrary& library);
void LoadButtonAssignments(ButtonSettings& settings, ButtonAssignment* assignments, int buttonCount,
                           const MacroLibrary& library);

// Writes records "1".."buttonCount" (held to 0..16) and nothing else.
bool SaveButtonAssignments(const ButtonAssignment* assignments, int buttonCount);
// The same into a document held by the caller, which saves it.
void StoreButtonAssignments(profile::Document& doc, const ButtonAssignment* assignments,
                            int buttonCount);

// The stages held before the file is read (PointerSettings' initial values): 4 stages of 400,
// 800, 1600 and 3200 DPI (the rest 3200), X = Y off, report rate code 2000.
PointerSettings DefaultPointerSettings();

// Hardware Resolutions (held to 1..5), XequalY, ReportRate, then keys 1..Resolutions of
// "ResolutionX" and then of "ResolutionY". Stages beyond Resolutions keep their values.
void LoadPointerSettings(const profile::Document& settings, PointerSettings& pointer);
void LoadPointerSettings(PointerSettings& pointer);
// Hardware PointerSpeed and PointerAcceleration, as they are (missing: no value).
AppliedPointer LoadAppliedPointer(const profile::Document& settings);

// XequalY, ReportRate, PointerSpeed, PointerAcceleration, then keys 1..Resolutions (held to
// 1..5) of "ResolutionX" and "ResolutionY". Resolutions itself is never written.
bool SavePointerSettings(const PointerSettings& pointer, int32_t pointerSpeed,
                         int32_t pointerAcceleration);
// The same into a document held by the caller; a speed or acceleration without a value is left
// as the document has it.
void StorePointerSettings(profile::Document& doc, const PointerSettings& pointer,
                          const AppliedPointer& applied);

// Section "Recording" in the order of RecordingOptions; RecordingHotkey is hexadecimal.
void LoadRecordingOptions(const profile::Document& settings, RecordingOptions& options);
void LoadRecordingOptions(RecordingOptions& options);

// The five recording flags as integers and RecordingHotkey as hexadecimal; the three delay keys
// are never written.
bool SaveRecordingOptions(const RecordingOptions& options);
// The same into a document held by the caller.
void StoreRecordingOptions(profile::Document& doc, const RecordingOptions& options);

// Key "button" (1-based) of section "ButtonsDefault": a FunctionCode; missing gives button - 1.
int32_t LoadButtonsDefault(const profile::Document& settings, int button);
int32_t LoadButtonsDefault(int button);
// Keys 1..count (held to 0..8) the same way, into codes.
void LoadButtonsDefaults(const profile::Document& settings, int32_t* codes, int count);
// Writes keys 1..count (held to 0..8) of codes; only a restore does.
void StoreButtonsDefaults(profile::Document& doc, const int32_t* codes, int count);

}  // namespace corvane
