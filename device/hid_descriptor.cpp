#include "device/hid_descriptor.h"

#include <array>
#include <map>
#include <vector>

namespace corvane {
namespace {

// Item types and tags (HID 1.11, 6.2.2).
enum : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };
enum : uint8_t { kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEnd = 0xC };
enum : uint8_t {
  kUsagePage = 0x0,
  kReportSize = 0x7,
  kReportId = 0x8,
  kReportCount = 0x9,
  kPush = 0xA,
  kPop = 0xB,
};
enum : uint8_t { kUsage = 0x0, kDelimiter = 0xA };
constexpr uint8_t kLongItem = 0xFE;

// The limits of the Linux HID core, which refuses a descriptor beyond them.
constexpr uint32_t kMaxReportSize = 256;     // bits of one field
constexpr uint32_t kMaxReportCount = 12288;  // HID_MAX_USAGES
constexpr size_t kMaxGlobalStack = 4;        // HID_GLOBAL_STACK_SIZE
// A length must fit the 16-bit fields of the capabilities, the identifier's byte included.
constexpr uint64_t kMaxReportBytes = 0xFFFE;

struct Globals {
  uint32_t UsagePage = 0;
  uint32_t ReportSize = 0;
  uint32_t ReportCount = 0;
  uint32_t ReportId = 0;
};

enum Kind { kInputKind, kOutputKind, kFeatureKind, kKinds };

}  // namespace

ParsedDescriptor ParseReportDescriptor(const uint8_t* data, size_t size) {
  ParsedDescriptor result;
  size_t offset = 0;
  auto fail = [&](const char* problem) {
    result.Valid = false;
    result.Caps = HidCaps{};
    result.Problem = problem;
    result.Offset = offset;
    return result;
  };
  if (!data && size != 0) return fail("no descriptor");
  if (size > kMaxReportDescriptorSize) return fail("longer than 4096 bytes");

  Globals globals;
  std::vector<Globals> stack;
  bool haveUsage = false;  // the first Usage since the last main item, for a top-level collection
  uint32_t usage = 0;
  size_t depth = 0;
  bool topLevelSeen = false;
  bool reportsWithoutId = false;
  bool reportsWithId = false;
  std::array<std::map<uint32_t, uint64_t>, kKinds> bits;  // per kind: identifier -> bits

  while (offset < size) {
    const uint8_t prefix = data[offset];
    if (prefix == kLongItem) return fail("long item");
    const size_t length = (prefix & 3) == 3 ? 4 : (prefix & 3);
    const uint8_t type = (prefix >> 2) & 3;
    const uint8_t tag = prefix >> 4;
    if (size - offset - 1 < length) return fail("item runs past the end");
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) value |= uint32_t{data[offset + 1 + i]} << (8 * i);

    if (type == kMain) {
      switch (tag) {
        case kInput:
        case kOutput:
        case kFeature: {
          if (depth == 0) return fail("data item outside a collection");
          const Kind kind = tag == kInput    ? kInputKind
                            : tag == kOutput ? kOutputKind
                                             : kFeatureKind;
          (globals.ReportId ? reportsWithId : reportsWithoutId) = true;
          uint64_t& total = bits[kind][globals.ReportId];
          total += uint64_t{globals.ReportSize} * globals.ReportCount;
          if ((total + 7) / 8 > kMaxReportBytes) return fail("report too long");
          break;
        }
        case kCollection:
          if (depth == 0 && !topLevelSeen) {
            topLevelSeen = true;
            // A four-byte usage carries its own page in its high half.
            result.Caps.UsagePage = static_cast<uint16_t>(
                haveUsage && usage > 0xFFFF ? usage >> 16 : globals.UsagePage);
            result.Caps.Usage = static_cast<uint16_t>(haveUsage ? usage & 0xFFFF : 0);
          }
          ++depth;
          if (result.Caps.NumberLinkCollectionNodes == 0xFFFF) return fail("too many collections");
          ++result.Caps.NumberLinkCollectionNodes;
          break;
        case kEnd:
          if (depth == 0) return fail("End Collection without a Collection");
          --depth;
          break;
        default: return fail("reserved main item");
      }
      haveUsage = false;  // local items end with each main item
    } else if (type == kGlobal) {
      switch (tag) {
        case kUsagePage: globals.UsagePage = value; break;
        case kReportSize:
          if (value > kMaxReportSize) return fail("Report Size above 256");
          globals.ReportSize = value;
          break;
        case kReportId:
          if (value == 0 || value > 0xFF) return fail("Report ID outside 1..255");
          globals.ReportId = value;
          break;
        case kReportCount:
          if (value > kMaxReportCount) return fail("Report Count above 12288");
          globals.ReportCount = value;
          break;
        case kPush:
          if (stack.size() == kMaxGlobalStack) return fail("Push too deep");
          stack.push_back(globals);
          break;
        case kPop:
          if (stack.empty()) return fail("Pop without a Push");
          globals = stack.back();
          stack.pop_back();
          break;
        case 0x1:
        case 0x2:
        case 0x3:
        case 0x4:
        case 0x5:
        case 0x6: break;  // logical and physical extents, unit exponent, unit: not needed
        default: return fail("reserved global item");
      }
    } else if (type == kLocal) {
      if (tag == kUsage) {
        if (!haveUsage) usage = value;
        haveUsage = true;
      } else if (tag == 0x6 || tag > kDelimiter) {
        return fail("reserved local item");
      }
    } else {
      return fail("reserved item type");
    }
    offset += 1 + length;
  }

  if (depth != 0) return fail("collection not closed");
  if (!topLevelSeen) return fail("no collection");
  if (reportsWithId && reportsWithoutId) return fail("reports with and without a Report ID");

  uint16_t* lengths[kKinds] = {&result.Caps.InputReportByteLength,
                               &result.Caps.OutputReportByteLength,
                               &result.Caps.FeatureReportByteLength};
  for (int kind = 0; kind < kKinds; ++kind) {
    uint64_t longest = 0;
    for (const auto& report : bits[kind]) {
      if ((report.second + 7) / 8 > longest) longest = (report.second + 7) / 8;
    }
    *lengths[kind] = static_cast<uint16_t>(longest == 0 ? 0 : longest + 1);
  }
  result.Valid = true;
  return result;
}

}  // namespace corvane
