// Windows virtual-key codes to USB HID Keyboard/Keypad usages.
#pragma once

#include <cstdint>

namespace corvane {

// Only the low 16 bits of vk take part; 0 for a key without a usage (among them the
// side-neutral VK_SHIFT/VK_CONTROL/VK_MENU, VK_APPS, F13 and above, browser and media keys).
uint8_t VkToHidUsage(uint32_t vk);

}  // namespace corvane
