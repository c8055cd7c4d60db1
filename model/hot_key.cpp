#include "model/hot_key.h"

namespace corvane {

HotKeyCombination NormaliseHotKey(uint16_t key, uint16_t modifiers) {
  uint16_t clear = 0;
  switch (key) {
    case kVkShift:
    case kVkLeftShift: clear = kModLeftShift; break;
    case kVkControl:
    case kVkLeftControl: clear = kModLeftCtrl; break;
    case kVkMenu:
    case kVkLeftMenu: clear = kModLeftAlt; break;
    case kVkRightShift:
      if (modifiers & kModRightShift) clear = kModRightShift | kModExtended;
      break;
    case kVkRightControl: clear = kModRightCtrl; break;
    case kVkRightMenu: clear = kModRightAlt; break;
    default: break;
  }
  return {key, static_cast<uint16_t>(modifiers & ~clear)};
}

void ModifierKeys::Set(uint32_t vk, bool down) {
  static constexpr uint16_t kBits[] = {kModLeftShift, kModRightShift, kModLeftCtrl,
                                       kModRightCtrl, kModLeftAlt,    kModRightAlt};
  if (vk < kVkLeftShift || vk > kVkRightMenu) return;
  uint16_t bit = kBits[vk - kVkLeftShift];
  bits_ = static_cast<uint16_t>(down ? (bits_ | bit) : (bits_ & ~bit));
}

std::u16string HotKeyText(HotKeyCombination c, const SystemKeyNames& name) {
  if (c.Key == 0 && c.Modifiers == 0) return {};
  struct Part {
    uint16_t Bit;
    uint16_t Vk;
    bool Extended;
  };
  static constexpr Part kOrder[] = {
      {kModLeftShift, kVkShift, false},  {kModRightShift, kVkRightShift, false},
      {kModLeftCtrl, kVkControl, false}, {kModRightCtrl, kVkRightControl, true},
      {kModLeftAlt, kVkMenu, false},     {kModRightAlt, kVkRightMenu, true},
  };
  std::u16string text;
  for (const Part& p : kOrder) {
    if (c.Modifiers & p.Bit) text += name(p.Vk, p.Extended) + u" + ";
  }
  // The system names these two after the number-pad keys that share their scan codes.
  if (c.Key == kVkPause) {
    text += u"Pause";
  } else if (c.Key == kVkPrint || c.Key == kVkSnapshot) {
    text += u"Print Screen";
  } else {
    text += name(c.Key, (c.Modifiers & kModExtended) != 0);
  }
  return text;
}

}  // namespace corvane
