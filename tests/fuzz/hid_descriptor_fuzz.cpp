// The report-descriptor parser over arbitrary bytes: it must end, read nothing past the end, and
// give lengths only for a descriptor it accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "device/hid_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const corvane::ParsedDescriptor parsed = corvane::ParseReportDescriptor(data, size);
  if (!parsed.Valid && (parsed.Caps.OutputReportByteLength != 0 || parsed.Offset > size)) {
    std::abort();
  }
  if (parsed.Valid && (parsed.Problem.size() != 0 || size > corvane::kMaxReportDescriptorSize)) {
    std::abort();
  }
  return 0;
}
