// The configuration records. ButtonAssignment and MacroEvent are stored byte for byte in the
// settings and macro files, so their layouts are file formats: keep them standard layout, packed
// as asserted below, little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace corvane {

// The mouse Corvane is built for. Users of another identifier set VID/PID in Corvane.ini.
inline constexpr uint16_t kSupportedVendorId = 0x3A7C;
inline constexpr uint16_t kSupportedProductId = 0x0007;

inline constexpr int kMaxAssignments = 16;
inline constexpr int kMaxMacros = 128;
inline constexpr int kMaxEvents = 512;
inline constexpr int kMacroNameUnits = 64;  // 63 characters and the terminator
inline constexpr int kMacroNameChars = kMacroNameUnits - 1;
inline constexpr int kAssignmentNameUnits = 128;  // ButtonAssignment::MacroName
inline constexpr int kMaxStages = 8;

// FunctionCode values beside the 41 rows of the function table.
inline constexpr int32_t kFunctionHotKey = 254;
inline constexpr int32_t kFunctionMacro = 255;

enum ExecutionModeValue : int32_t { kModeAuto = 0, kModeManual = 1, kModeOneShot = 2 };

// HotKeyModifiers bits.
enum : uint16_t {
  kModLeftShift = 0x01,
  kModLeftCtrl = 0x02,
  kModLeftAlt = 0x04,
  kModExtended = 0x08,  // only changes the main key's displayed name
  kModRightShift = 0x10,
  kModRightCtrl = 0x20,
  kModRightAlt = 0x40,
};

// MacroEvent::Message kinds: the Windows message numbers of recorded input, plus our delay.
enum EventMessage : int32_t {
  kMsgKeyDown = 256,
  kMsgKeyUp = 257,
  kMsgSysKeyDown = 260,
  kMsgSysKeyUp = 261,
  kMsgLButtonDown = 513,
  kMsgLButtonUp = 514,
  kMsgLButtonDblClk = 515,
  kMsgRButtonDown = 516,
  kMsgRButtonUp = 517,
  kMsgRButtonDblClk = 518,
  kMsgMButtonDown = 519,
  kMsgMButtonUp = 520,
  kMsgMButtonDblClk = 521,
  kMsgMouseWheel = 522,
  kMsgXButtonDown = 523,
  kMsgXButtonUp = 524,
  kMsgXButtonDblClk = 525,
  kMsgMouseHWheel = 526,
  kMsgDelay = 1280,
};

struct MacroEvent {
  int32_t Message;
  int32_t Data;
};

// A reference to a MacroLibrary slot that keeps the stored record's 32-bit width:
// entry index + 1, or 0 for none. Nothing is ever read back from stored bytes.
using MacroRef = uint32_t;
inline constexpr MacroRef kNoMacroLink = 0;

struct ButtonAssignment {
  int32_t FunctionCode;
  uint16_t HotKeyVk;
  uint16_t HotKeyModifiers;
  char16_t MacroName[kAssignmentNameUnits];
  int32_t ExecutionMode;
  uint32_t ExecutionInterval;
  int32_t MacroIndex;
  MacroRef MacroLink;
};

struct Macro {
  char16_t Name[kMacroNameUnits];
  int32_t EventCount;
  int32_t Modified;
  MacroEvent Events[kMaxEvents];
};

struct MacroLibrary {
  Macro Macros[kMaxMacros];
  int32_t MacroCount;
};

// The initial values are what the Pointer page, corvane-cli and restore hold before the settings
// are read, and so what a missing key gives: the ladder of a new mouse, 400, 800, 1600 and
// 3200 DPI on both axes (stage code n is (n + 1) x 200 DPI), and report-rate code 2000, which
// names no rate.
struct PointerSettings {
  int32_t Resolutions = 4;
  int32_t XequalY = 0;
  int32_t ResolutionX[kMaxStages] = {1, 3, 7, 15, 15, 15, 15, 15};
  int32_t ResolutionY[kMaxStages] = {1, 3, 7, 15, 15, 15, 15, 15};
  int32_t ReportRate = 2000;
};

struct HardwareSettings {
  uint16_t VendorId = kSupportedVendorId;
  uint16_t ProductId = kSupportedProductId;
  int32_t ButtonCount = 7;
  int32_t ReportDelay = 32;
  uint8_t TurboLo = 0;
};

static_assert(std::is_standard_layout_v<MacroEvent> && std::is_trivially_copyable_v<MacroEvent>);
static_assert(sizeof(MacroEvent) == 8);
static_assert(offsetof(MacroEvent, Message) == 0 && offsetof(MacroEvent, Data) == 4);

static_assert(std::is_standard_layout_v<ButtonAssignment> &&
              std::is_trivially_copyable_v<ButtonAssignment>);
static_assert(sizeof(ButtonAssignment) == 280);
static_assert(offsetof(ButtonAssignment, FunctionCode) == 0);
static_assert(offsetof(ButtonAssignment, HotKeyVk) == 4);
static_assert(offsetof(ButtonAssignment, HotKeyModifiers) == 6);
static_assert(offsetof(ButtonAssignment, MacroName) == 8);
static_assert(offsetof(ButtonAssignment, ExecutionMode) == 264);
static_assert(offsetof(ButtonAssignment, ExecutionInterval) == 268);
static_assert(offsetof(ButtonAssignment, MacroIndex) == 272);
static_assert(offsetof(ButtonAssignment, MacroLink) == 276);

static_assert(sizeof(char16_t) == 2);
#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "stored records are little-endian");
#endif

}  // namespace corvane
