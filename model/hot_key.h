// Hot key combinations in the form of ButtonAssignment's HotKeyVk and HotKeyModifiers: how a
// captured key is normalised, which keys the hot key field ignores, the modifier keys it tracks,
// and the combination put in words. The system's key names come from the caller (the Win32
// field asks GetKeyNameTextW), so this stays portable.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/records.h"

namespace corvane {

// Virtual-key codes the hot key logic names.
enum : uint16_t {
  kVkShift = 16,
  kVkControl = 17,
  kVkMenu = 18,
  kVkPause = 19,
  kVkPrint = 42,
  kVkSnapshot = 44,
  kVkLeftShift = 160,
  kVkRightShift = 161,
  kVkLeftControl = 162,
  kVkRightControl = 163,
  kVkLeftMenu = 164,
  kVkRightMenu = 165,
};

struct HotKeyCombination {
  uint16_t Key = 0;        // virtual-key code
  uint16_t Modifiers = 0;  // kMod* bits
  bool operator==(const HotKeyCombination& o) const {
    return Key == o.Key && Modifiers == o.Modifiers;
  }
};

// A modifier key held as the main key does not also count as its own modifier: Shift (16, 160)
// loses 0x01, Ctrl (17, 162) 0x02, Alt (18, 164) 0x04, right Ctrl 0x20, right Alt 0x40, and right
// Shift, when 0x10 is set, loses 0x10 together with the extended bit 0x08. Other keys keep all.
HotKeyCombination NormaliseHotKey(uint16_t key, uint16_t modifiers);

// Browser, volume, media and launch keys (166..183) never become a hot key.
inline constexpr bool IsIgnoredHotKey(uint32_t vk) { return vk >= 166 && vk <= 183; }

// The six modifier keys held down, as the hot key field sees them go down and up (160..165;
// other keys change nothing).
class ModifierKeys {
 public:
  void KeyDown(uint32_t vk) { Set(vk, true); }
  void KeyUp(uint32_t vk) { Set(vk, false); }
  // Left Shift 0x01, right Shift 0x10, left Ctrl 0x02, right Ctrl 0x20, left Alt 0x04,
  // right Alt 0x40 for each key held.
  uint16_t Bits() const { return bits_; }

 private:
  void Set(uint32_t vk, bool down);
  uint16_t bits_ = 0;
};

// The system's name of a key: (virtual key, extended) -> name, empty when it has none.
using SystemKeyNames = std::function<std::u16string(uint16_t vk, bool extended)>;

// The combination in words: empty for {0, 0}; otherwise each set modifier's key name followed by
// " + ", in the order left Shift, right Shift, left Ctrl, right Ctrl, left Alt, right Alt, then
// the key: "Pause" for 19, "Print Screen" for 42 and 44, else its name (extended when 0x08 is set).
std::u16string HotKeyText(HotKeyCombination combination, const SystemKeyNames& name);

}  // namespace corvane
