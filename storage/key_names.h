// Names of virtual keys and hot key combinations, from the string table (512 + virtual key).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// The name of vk in language ("A", "SHIFT", "F1"), or the empty text when the table has none.
std::u16string KeyName(uint16_t vk, uint32_t language);

// A hot key combination named with the key names, the modifiers first in the order of the hot
// key field and joined by " + ": "SHIFT + CTRL + C". A key without a name is "key 0xNN";
// "(none)" when key and modifiers are 0.
std::u16string HotKeyText(uint16_t vk, uint16_t modifiers, uint32_t language);

// The virtual key whose built-in name is name (exact, case-sensitive), or -1.
int FindKeyByName(std::u16string_view name);

}  // namespace corvane
