// Shared helpers of the encoder tests: a configuration with its library, hex byte strings and
// assignment builders.
#pragma once

#include "device/encoder.h"
#include "model/macro_links.h"
#include "model/text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace corvane::testing {

using Bytes = std::vector<uint8_t>;

// "02 FF 00" -> {0x02, 0xFF, 0x00}; separators of any kind ('|', spaces) are skipped.
inline Bytes Hex(const std::string& text) {
  Bytes out;
  std::string digits;
  for (char c : text) {
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    if (digits.size() == 2) {
      out.push_back(static_cast<uint8_t>(std::strtoul(digits.c_str(), nullptr, 16)));
      digits.clear();
    }
  }
  return out;
}

inline std::string ToHex(const uint8_t* b, size_t n) {
  std::string s;
  char buf[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, i % 8 == 7 && i + 1 < n ? "%02X|" : "%02X ", b[i]);
    s += buf;
  }
  return s;
}
inline std::string ToHex(const Bytes& b) { return ToHex(b.data(), b.size()); }

inline ButtonAssignment Function(int32_t code) {
  ButtonAssignment a{};
  a.FunctionCode = code;
  a.MacroIndex = -1;
  return a;
}

inline ButtonAssignment HotKey(uint16_t vk, uint16_t modifiers) {
  ButtonAssignment a = Function(kFunctionHotKey);
  a.HotKeyVk = vk;
  a.HotKeyModifiers = modifiers;
  return a;
}

// One configuration: inputs of EncodeDeviceImage besides the image. The library lives on the
// heap (530 KiB).
struct Config {
  int32_t resX[4] = {1, 3, 7, 15};
  int32_t resY[4] = {1, 3, 7, 15};
  std::vector<ButtonAssignment> buttons;
  int32_t reportRate = 1;
  uint8_t turboLo = 0;
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();

  // Adds a library macro with these events and returns its index.
  int AddMacro(const std::vector<MacroEvent>& events, std::u16string_view name = u"M") {
    const int index = library->MacroCount++;
    Macro& m = library->Macros[index];
    CopyName(m.Name, name);
    m.EventCount = static_cast<int32_t>(events.size());
    for (size_t i = 0; i < events.size(); ++i) m.Events[i] = events[i];
    return index;
  }
  // A macro button linked to library entry index (or to none when index is -1).
  ButtonAssignment MacroButton(int32_t mode, uint32_t interval, int index) const {
    ButtonAssignment a = Function(kFunctionMacro);
    a.ExecutionMode = mode;
    a.ExecutionInterval = interval;
    AssignMacro(a, *library, index);
    return a;
  }
};

struct Encoded {
  EncodeResult result;
  Bytes sent;  // the first Length bytes of the image
  std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
};

inline Encoded Encode(const Config& c) {
  Encoded e;
  e.result = EncodeDeviceImage(c.resX, c.resY, c.buttons.data(), static_cast<int>(c.buttons.size()),
                               c.reportRate, c.turboLo, *c.library, *e.image);
  e.sent.assign(e.image->Bytes, e.image->Bytes + e.result.Length);
  return e;
}

// The payload as the device gets it, taken back out of the frames of a sent image.
inline Bytes PayloadOf(const Bytes& sent, size_t length) {
  Bytes p;
  for (size_t i = 0; i < length; ++i)
    p.push_back(i < 2 ? sent[22 + i] : sent[24 + (i - 2) / 6 * 8 + 2 + (i - 2) % 6]);
  return p;
}

}  // namespace corvane::testing
