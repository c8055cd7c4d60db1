// Opening interfaces, finding the mouse among many, and choosing its configuration interface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/hid_device.h"
#include "fakes/fake_hid_platform.h"
#include "model/records.h"

namespace corvane {
namespace {

using fakes::FakeHidInterface;
using fakes::FakeHidPlatform;

constexpr uint16_t kVid = kSupportedVendorId;
constexpr uint16_t kPid = kSupportedProductId;

std::u16string PathOf(int n) {
  std::string s = "\\\\?\\hid#vid_1234&pid_" + std::to_string(1000 + n) + "#" + std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

std::vector<std::u16string> PathsOf(const DeviceList& list) {
  std::vector<std::u16string> paths;
  for (const HidDevice& d : list) paths.push_back(d.Path());
  return paths;
}

class OpenDeviceTest : public ::testing::Test {
 protected:
  FakeHidPlatform hid;
  FakeHidInterface* mouse = &hid.Add(u"\\\\?\\hid#vid_3a7c&pid_0007&col02#1", kVid, kPid, 8);
};

TEST_F(OpenDeviceTest, OpensWithTheAskedAccessAndKeepsEverything) {
  struct Case {
    bool read, write;
  };
  for (Case c : {Case{false, false}, Case{true, false}, Case{true, true}}) {
    HidDevice d;
    ASSERT_TRUE(OpenDevice(hid, d, mouse->Path, c.read, c.write, kVid, kPid));
    EXPECT_TRUE(d.IsOpen());
    EXPECT_EQ(mouse->Path, d.Path());
    EXPECT_EQ(c.read, d.OpenedForReading());
    EXPECT_EQ(c.write, d.OpenedForWriting());
    EXPECT_EQ(c.read, hid.Opens.back().Read);
    EXPECT_EQ(c.write, hid.Opens.back().Write);
    EXPECT_NE(nullptr, d.PreparsedData());
    EXPECT_EQ(8, d.Caps().OutputReportByteLength);
    EXPECT_EQ(kVid, d.Attributes().VendorID);
    EXPECT_EQ(kPid, d.Attributes().ProductID);
    EXPECT_TRUE(d.Matches(kVid, kPid));

    CloseDevice(d);
    EXPECT_FALSE(d.IsOpen());
    EXPECT_TRUE(d.Path().empty());
    EXPECT_EQ(kInvalidHidHandle, d.Handle());
    EXPECT_EQ(nullptr, d.PreparsedData());
    EXPECT_EQ(0u, hid.OpenHandles());
    EXPECT_EQ(0u, hid.LivePreparsedData());
    CloseDevice(d);  // closing a closed record is harmless
  }
  EXPECT_EQ(0, hid.Misuses);
}

// Each failure releases exactly what was acquired before it and leaves the record closed.
TEST_F(OpenDeviceTest, EveryFailureReleasesEverything) {
  struct Case {
    const char* name;
    bool FakeHidInterface::*fail;
  };
  const Case cases[] = {
      {"open", &FakeHidInterface::FailOpen},
      {"preparsed data", &FakeHidInterface::FailPreparsed},
      {"attributes", &FakeHidInterface::FailAttributes},
      {"caps", &FakeHidInterface::FailCaps},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mouse->*c.fail = true;
    HidDevice d;
    EXPECT_FALSE(OpenDevice(hid, d, mouse->Path, true, true, kVid, kPid));
    EXPECT_FALSE(d.IsOpen());
    EXPECT_TRUE(d.Path().empty());
    EXPECT_EQ(nullptr, d.PreparsedData());
    EXPECT_EQ(0u, hid.OpenHandles());
    EXPECT_EQ(0u, hid.LivePreparsedData());
    mouse->*c.fail = false;
  }
  HidDevice d;
  EXPECT_FALSE(OpenDevice(hid, d, u"\\\\?\\no such path", false, false, kVid, kPid));
  EXPECT_EQ(0, hid.Misuses);
}

TEST_F(OpenDeviceTest, AnotherDeviceOpensButDoesNotMatch) {
  FakeHidInterface& keyboard = hid.Add(u"\\\\?\\hid#vid_045e&pid_0800#1", 0x045E, 0x0800);
  HidDevice d;
  ASSERT_TRUE(OpenDevice(hid, d, keyboard.Path, false, false, kVid, kPid));
  EXPECT_TRUE(d.IsOpen());
  EXPECT_FALSE(d.Matches(kVid, kPid));
  EXPECT_TRUE(d.Matches(0x045E, 0x0800));
}

TEST_F(OpenDeviceTest, ReopeningAndMovingKeepOneOwner) {
  HidDevice a;
  ASSERT_TRUE(OpenDevice(hid, a, mouse->Path, false, false, kVid, kPid));
  ASSERT_TRUE(OpenDevice(hid, a, mouse->Path, true, true, kVid, kPid));  // closes the first
  EXPECT_EQ(1u, hid.OpenHandles());
  const HidHandle h = a.Handle();

  HidDevice b(std::move(a));
  EXPECT_FALSE(a.IsOpen());
  EXPECT_EQ(h, b.Handle());
  EXPECT_EQ(mouse->Path, b.Path());

  HidDevice c;
  ASSERT_TRUE(OpenDevice(hid, c, mouse->Path, false, false, kVid, kPid));
  c = std::move(b);  // c's own interface is closed, b's is taken over
  EXPECT_EQ(h, c.Handle());
  EXPECT_EQ(1u, hid.OpenHandles());
  EXPECT_EQ(1u, hid.LivePreparsedData());
  { HidDevice scoped(std::move(c)); }
  EXPECT_EQ(0u, hid.OpenHandles());
  EXPECT_EQ(0u, hid.LivePreparsedData());
  EXPECT_EQ(0, hid.Misuses);
}

// Many interfaces, with the mouse's three late in the order and scattered.
class DiscoveryTest : public ::testing::Test {
 protected:
  void AddSystem(int count, std::vector<int> mouseAt, std::vector<uint16_t> outputLengths) {
    for (int n = 0; n < count; ++n) {
      hid.Add(PathOf(n), 0x1234, static_cast<uint16_t>(n), n % 3 == 0 ? 65 : 0);
    }
    for (size_t k = 0; k < mouseAt.size(); ++k) {
      FakeHidInterface& i = hid.Interfaces[mouseAt[k]];
      i.VendorId = kVid;
      i.ProductId = kPid;
      i.OutputReportByteLength = outputLengths[k];
      mousePaths.push_back(i.Path);
    }
  }
  FakeHidPlatform hid;
  DeviceLink link;
  std::vector<std::u16string> mousePaths;
};

TEST_F(DiscoveryTest, FindsExactlyTheMouseInterfacesInOrderAmongHundreds) {
  AddSystem(300, {251, 270, 299}, {0, 8, 0});
  // Same vendor other product, and same product other vendor, are not the mouse.
  hid.Interfaces[260].VendorId = kVid;
  hid.Interfaces[261].ProductId = kPid;

  std::vector<HidDevice> found;
  ASSERT_TRUE(FindMatchingDevices(hid, kVid, kPid, found));
  ASSERT_EQ(3u, found.size());
  for (size_t k = 0; k < found.size(); ++k) {
    EXPECT_EQ(mousePaths[k], found[k].Path());
    EXPECT_FALSE(found[k].OpenedForReading());
    EXPECT_FALSE(found[k].OpenedForWriting());
  }
  EXPECT_EQ(300u, hid.Opens.size());
  EXPECT_EQ(3u, hid.OpenHandles());  // every other interface was closed again
  EXPECT_EQ(3u, hid.LivePreparsedData());

  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  EXPECT_EQ(mousePaths, PathsOf(link.Devices()));
  ASSERT_NE(nullptr, link.ConfigInterface());
  EXPECT_EQ(mousePaths[1], link.ConfigInterface()->Path());
}

TEST_F(DiscoveryTest, ConfigInterfaceIsTheLastThatTakesOutputReports) {
  struct Case {
    std::vector<uint16_t> outputLengths;
    int config;  // index among the mouse's interfaces, -1 for none
  };
  const Case cases[] = {
      {{0, 0, 0}, -1}, {{8, 0, 0}, 0}, {{8, 8, 0}, 1}, {{0, 65, 8}, 2}, {{8, 0, 8}, 2}};
  for (const Case& c : cases) {
    hid.Interfaces.clear();
    mousePaths.clear();
    AddSystem(20, {3, 11, 17}, c.outputLengths);
    ASSERT_TRUE(link.Discover(hid, kVid, kPid));
    EXPECT_TRUE(link.Present());
    EXPECT_EQ(3u, link.Devices().Size());
    if (c.config < 0) {
      EXPECT_EQ(nullptr, link.ConfigInterface());
    } else {
      ASSERT_NE(nullptr, link.ConfigInterface());
      EXPECT_EQ(mousePaths[c.config], link.ConfigInterface()->Path());
    }
  }
}

TEST_F(DiscoveryTest, AbsentMouseOrFailedEnumerationIsAbsence) {
  AddSystem(10, {}, {});
  EXPECT_FALSE(link.Discover(hid, kVid, kPid));
  EXPECT_FALSE(link.Present());
  EXPECT_TRUE(link.Devices().IsEmpty());
  EXPECT_EQ(nullptr, link.ConfigInterface());

  hid.Interfaces.clear();
  AddSystem(10, {4}, {8});
  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  hid.FailEnumerate = true;
  std::vector<HidDevice> found;
  EXPECT_FALSE(FindMatchingDevices(hid, kVid, kPid, found));
  EXPECT_TRUE(found.empty());
  EXPECT_FALSE(link.Discover(hid, kVid, kPid));
  EXPECT_FALSE(link.Present());
  EXPECT_EQ(nullptr, link.ConfigInterface());
  EXPECT_EQ(0u, hid.OpenHandles());
  EXPECT_EQ(0u, hid.LivePreparsedData());
}

// An interface that cannot be opened or queried is not one we could use; it must neither hide
// the mouse nor leak.
TEST_F(DiscoveryTest, InterfacesThatFailToOpenArePassedOver) {
  AddSystem(12, {5, 9}, {0, 8});
  hid.Interfaces[2].FailOpen = true;
  hid.Interfaces[3].FailPreparsed = true;
  hid.Interfaces[6].FailAttributes = true;
  hid.Interfaces[9].FailCaps = true;  // the mouse's output interface
  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  EXPECT_EQ(std::vector<std::u16string>{mousePaths[0]}, PathsOf(link.Devices()));
  EXPECT_EQ(nullptr, link.ConfigInterface());
  EXPECT_EQ(1u, hid.OpenHandles());
  EXPECT_EQ(1u, hid.LivePreparsedData());
  EXPECT_EQ(0, hid.Misuses);
}

TEST_F(DiscoveryTest, RediscoveryAndEmptyingReleaseTheOldInterfaces) {
  AddSystem(30, {10, 20}, {8, 0});
  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  ASSERT_TRUE(link.Discover(hid, kVid, kPid));  // not appended twice
  EXPECT_EQ(mousePaths, PathsOf(link.Devices()));
  EXPECT_EQ(2u, hid.OpenHandles());

  link.Empty();
  EXPECT_TRUE(link.Devices().IsEmpty());
  EXPECT_EQ(nullptr, link.ConfigInterface());
  EXPECT_TRUE(link.Present());  // presence is the window's to clear
  EXPECT_EQ(0u, hid.OpenHandles());
  EXPECT_EQ(0u, hid.LivePreparsedData());

  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  {
    DeviceLink scoped;
    ASSERT_TRUE(scoped.Discover(hid, kVid, kPid));
  }
  EXPECT_EQ(2u, hid.OpenHandles());  // the destroyed link closed its own
  EXPECT_EQ(0, hid.Misuses);
}

}  // namespace
}  // namespace corvane
