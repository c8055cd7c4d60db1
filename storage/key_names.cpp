#include "storage/key_names.h"

#include "model/records.h"
#include "storage/strings.h"

namespace corvane {
namespace {

std::u16string Hex2(uint32_t value) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text = u"0x";
  if (value > 0xFF) {
    text.push_back(kDigits[(value >> 12) & 0xF]);
    text.push_back(kDigits[(value >> 8) & 0xF]);
  }
  text.push_back(kDigits[(value >> 4) & 0xF]);
  text.push_back(kDigits[value & 0xF]);
  return text;
}

std::u16string NamedKey(uint16_t vk, uint32_t language) {
  std::u16string name = KeyName(vk, language);
  if (!name.empty()) return name;
  return vk == 0 ? std::u16string(u"(no key)") : u"key " + Hex2(vk);
}

}  // namespace

std::u16string KeyName(uint16_t vk, uint32_t language) { return LoadKeyName(vk, language); }

std::u16string HotKeyText(uint16_t vk, uint16_t modifiers, uint32_t language) {
  if (vk == 0 && modifiers == 0) return u"(none)";
  // The hot key field's order; the extended-key bit only changes how a system names the key.
  static const struct {
    uint16_t Bit;
    uint16_t Vk;
  } kModifiers[] = {{kModLeftShift, 0x10}, {kModRightShift, 0xA1}, {kModLeftCtrl, 0x11},
                    {kModRightCtrl, 0xA3}, {kModLeftAlt, 0x12},    {kModRightAlt, 0xA5}};
  std::u16string text;
  for (const auto& m : kModifiers) {
    if (modifiers & m.Bit) text += NamedKey(m.Vk, language) + u" + ";
  }
  return text + NamedKey(vk, language);
}

int FindKeyByName(std::u16string_view name) {
  if (name.empty()) return -1;
  for (uint32_t vk = 0; vk <= 0xFF; ++vk) {
    if (BuiltinString(kKeyNameBase + vk) == name) return static_cast<int>(vk);
  }
  return -1;
}

}  // namespace corvane
