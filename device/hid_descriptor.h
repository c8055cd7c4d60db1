// Reading a HID report descriptor for the few capabilities discovery needs, where no HID parser
// of the system computes them (Linux hidraw gives the descriptor itself).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "device/hid_platform.h"

namespace corvane {

// The longest descriptor the Linux HID core accepts (HID_MAX_DESCRIPTOR_SIZE).
inline constexpr size_t kMaxReportDescriptorSize = 4096;

struct ParsedDescriptor {
  bool Valid = false;
  // With Valid: UsagePage and Usage of the first top-level collection, the number of
  // collections, and the longest input, output and feature report in bytes as Windows counts
  // them: with the report identifier's byte, which Windows includes (as 0) even when the device
  // uses no identifiers; 0 when there is no report of that kind. The other counts stay 0.
  HidCaps Caps;
  // Without Valid: what is wrong, and the offset of the item where it was found.
  std::string Problem;
  size_t Offset = 0;
};

// Strict: an item that runs past the end, a long item, a reserved item type or tag, a report
// size, count or identifier out of range, a Pop without a Push, a collection that is not closed
// or closed twice, a data item outside any collection, reports with and without an identifier
// in one descriptor, and a descriptor without a collection or longer than
// kMaxReportDescriptorSize all make it invalid.
ParsedDescriptor ParseReportDescriptor(const uint8_t* data, size_t size);

}  // namespace corvane
