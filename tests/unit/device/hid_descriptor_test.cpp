// The report-descriptor parser on recorded descriptors, and on damaged ones.
#include "device/hid_descriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

const std::filesystem::path kDescriptors =
    std::filesystem::path(CORVANE_FIXTURES_DIR) / "device" / "descriptors";

Bytes ReadDescriptor(const std::string& name) {
  std::ifstream file(kDescriptors / name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

ParsedDescriptor Parse(const Bytes& bytes) {
  return ParseReportDescriptor(bytes.data(), bytes.size());
}

struct Recorded {
  const char* File;
  uint16_t UsagePage, Usage;
  uint16_t Input, Output, Feature;  // lengths as Windows gives them
  uint16_t Collections;
  std::vector<size_t> CompletePrefixes;  // shorter lengths that end after whole collections
};

// Every length counts the identifier's byte, also for the keyboard, which uses no identifiers.
const Recorded kRecorded[] = {
    // The mouse's first collection ends at 66; the usage items of the second follow it.
    {"mouse.bin", 0x0001, 0x0002, 7, 0, 0, 3, {66, 68, 70}},
    {"keyboard.bin", 0x0001, 0x0006, 9, 2, 0, 1, {}},
    {"vendor.bin", 0xFF00, 0x0001, 8, 8, 64, 1, {}},
};

class RecordedDescriptor : public ::testing::TestWithParam<Recorded> {};

TEST_P(RecordedDescriptor, GivesTheCapabilitiesWindowsGives) {
  const Recorded& r = GetParam();
  const Bytes bytes = ReadDescriptor(r.File);
  ASSERT_FALSE(bytes.empty()) << r.File;
  const ParsedDescriptor parsed = Parse(bytes);
  ASSERT_TRUE(parsed.Valid) << parsed.Problem << " at " << parsed.Offset;
  EXPECT_EQ(r.UsagePage, parsed.Caps.UsagePage);
  EXPECT_EQ(r.Usage, parsed.Caps.Usage);
  EXPECT_EQ(r.Input, parsed.Caps.InputReportByteLength);
  EXPECT_EQ(r.Output, parsed.Caps.OutputReportByteLength);
  EXPECT_EQ(r.Feature, parsed.Caps.FeatureReportByteLength);
  EXPECT_EQ(r.Collections, parsed.Caps.NumberLinkCollectionNodes);
}

// Every shorter prefix ends inside an item or inside a collection, but for those that end after
// a whole top-level collection (the mouse's first).
TEST_P(RecordedDescriptor, EveryTruncationIsRejected) {
  const Bytes bytes = ReadDescriptor(GetParam().File);
  for (size_t length = 0; length < bytes.size(); ++length) {
    const Bytes cut(bytes.begin(), bytes.begin() + length);
    const ParsedDescriptor parsed = Parse(cut);
    const std::vector<size_t>& complete = GetParam().CompletePrefixes;
    if (std::find(complete.begin(), complete.end(), length) != complete.end()) {
      EXPECT_TRUE(parsed.Valid) << parsed.Problem;
      continue;
    }
    EXPECT_FALSE(parsed.Valid) << GetParam().File << " cut to " << length;
    EXPECT_EQ(0, parsed.Caps.OutputReportByteLength);
    EXPECT_LE(parsed.Offset, length);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, RecordedDescriptor, ::testing::ValuesIn(kRecorded),
                         [](const ::testing::TestParamInfo<Recorded>& info) {
                           std::string name = info.param.File;
                           return name.substr(0, name.find('.'));
                         });

// A vendor collection around one data item, for the cases below.
Bytes Collection(const Bytes& items) {
  Bytes d = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
  for (uint8_t item : items) d.push_back(item);
  d.push_back(0xC0);
  return d;
}

TEST(ReportDescriptor, MalformedDescriptorsAreRejectedWithTheirReason) {
  const struct {
    const char* Name;
    Bytes Data;
    const char* Problem;
    size_t Offset;
  } kCases[] = {
      {"empty", {}, "no collection", 0},
      {"item data past the end", {0x06, 0x00}, "item runs past the end", 0},
      {"four-byte item cut short", {0x07, 0x01, 0x02, 0x03}, "item runs past the end", 0},
      {"long item", Collection({0xFE, 0x01, 0x10, 0x00}), "long item", 7},
      {"reserved item type", Collection({0x0C}), "reserved item type", 7},
      {"reserved main tag", Collection({0xD0}), "reserved main item", 7},
      {"reserved global tag", Collection({0xC4, 0x01}), "reserved global item", 7},
      {"reserved local tag", Collection({0x68, 0x01}), "reserved local item", 7},
      {"report id 0", Collection({0x85, 0x00}), "Report ID outside 1..255", 7},
      {"report id 256", Collection({0x86, 0x00, 0x01}), "Report ID outside 1..255", 7},
      {"report size 257", Collection({0x76, 0x01, 0x01}), "Report Size above 256", 7},
      {"report count 12289", Collection({0x96, 0x01, 0x30}), "Report Count above 12288", 7},
      {"pop without push", Collection({0xB4}), "Pop without a Push", 7},
      {"push five deep", Collection({0xA4, 0xA4, 0xA4, 0xA4, 0xA4}), "Push too deep", 11},
      {"end without collection", {0xC0}, "End Collection without a Collection", 0},
      {"collection left open", {0x09, 0x01, 0xA1, 0x01}, "collection not closed", 4},
      {"data outside a collection",
       {0x75, 0x08, 0x95, 0x01, 0x91, 0x02},
       "data item outside a collection",
       4},
      {"ids mixed with no id",
       Collection({0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x02, 0x91, 0x02}),
       "reports with and without a Report ID", 18},
      // Six items of 12288 bytes: the sixth makes the report longer than 65534 bytes.
      {"report too long",
       Collection({0x75, 0x08, 0x96, 0x00, 0x30, 0x91, 0x02, 0x91, 0x02, 0x91, 0x02, 0x91, 0x02,
                   0x91, 0x02, 0x91, 0x02}),
       "report too long", 22},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Name);
    const ParsedDescriptor parsed = Parse(c.Data);
    EXPECT_FALSE(parsed.Valid);
    EXPECT_EQ(c.Problem, parsed.Problem);
    EXPECT_EQ(c.Offset, parsed.Offset);
  }
}

TEST(ReportDescriptor, LimitsThemselvesAreAccepted) {
  // Report ID 255; 12288 one-bit fields in; one 256-bit field out; pushes four deep, popped.
  const Bytes limits =
      Collection({0x85, 0xFF, 0x75, 0x01, 0x96, 0x00, 0x30, 0x81, 0x02, 0x76, 0x00, 0x01,
                  0x95, 0x01, 0x91, 0x02, 0xA4, 0xA4, 0xA4, 0xA4, 0xB4, 0xB4, 0xB4, 0xB4});
  const ParsedDescriptor parsed = Parse(limits);
  ASSERT_TRUE(parsed.Valid) << parsed.Problem;
  EXPECT_EQ(12288 / 8 + 1, parsed.Caps.InputReportByteLength);
  EXPECT_EQ(256 / 8 + 1, parsed.Caps.OutputReportByteLength);
}

TEST(ReportDescriptor, LongerThanTheKernelAcceptsIsRejected) {
  Bytes big = Collection({});
  big.insert(big.begin() + 7, kMaxReportDescriptorSize, 0x00);  // Usage Page items without data
  EXPECT_FALSE(Parse(big).Valid);
  EXPECT_EQ("longer than 4096 bytes", Parse(big).Problem);
}

TEST(ReportDescriptor, ThePageOfAFourByteUsageAndOnlyTheFirstTopLevelCollectionCount) {
  // Usage 000C:0001 as one four-byte usage under page 1, then a second collection of page FF00.
  const Bytes d = {0x05, 0x01, 0x0B, 0x01, 0x00, 0x0C, 0x00, 0xA1, 0x01,
                   0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0};
  const ParsedDescriptor parsed = Parse(d);
  ASSERT_TRUE(parsed.Valid) << parsed.Problem;
  EXPECT_EQ(0x000C, parsed.Caps.UsagePage);
  EXPECT_EQ(0x0001, parsed.Caps.Usage);
  EXPECT_EQ(2, parsed.Caps.NumberLinkCollectionNodes);
  EXPECT_EQ(0, parsed.Caps.InputReportByteLength);
}

}  // namespace
}  // namespace corvane
