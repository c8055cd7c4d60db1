// Following the mouse's arrival and removal notifications.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "device/device_link.h"
#include "fakes/fake_hid_platform.h"
#include "model/records.h"

namespace corvane {
namespace {

using fakes::FakeHidPlatform;

constexpr uint16_t kVid = kSupportedVendorId;   // 3A7C
constexpr uint16_t kPid = kSupportedProductId;  // 0007

const std::u16string kMouseName =
    u"\\\\?\\HID#VID_3A7C&PID_0007&MI_01#8&2c4a1b5&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::u16string kOtherName =
    u"\\\\?\\HID#VID_045E&PID_0800#8&11aa22&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

TEST(InterfaceName, MatchesBothIdentifiersAnywhereInAnyCase) {
  struct Case {
    std::u16string name;
    bool matches;
  };
  const Case cases[] = {
      {kMouseName, true},
      {u"\\\\?\\hid#vid_3a7c&pid_0007&mi_01#8&2c4a1b5&0&0000#{...}", true},  // lower case
      {u"\\\\?\\hid#vId_3A7c&PiD_0007", true},
      {u"0007 comes first, then 3a7c", true},  // position does not matter
      {u"\\\\?\\hid#vid_3a7c&pid_0008#1", false},
      {u"\\\\?\\hid#vid_3a7d&pid_0007#1", false},
      {u"\\\\?\\hid#vid_3a7&pid_007#1", false},
      {u"", false},
      {kOtherName, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.matches, InterfaceNameMatches(c.name, kVid, kPid))
        << std::string(c.name.begin(), c.name.end());
  }
  EXPECT_TRUE(InterfaceNameMatches(u"HID#VID_00AB&PID_0C00", 0x00AB, 0x0C00));  // leading zeros
}

class NotificationTest : public ::testing::Test {
 protected:
  void PlugIn() { hid.AddMouse(); }
  void Unplug() { hid.RemoveMouse(); }
  bool Arrive(const std::u16string& name = kMouseName) {
    return link.HandleDeviceChange(hid, kDeviceArrival, kDeviceTypeInterface, name, kVid, kPid);
  }
  bool Leave(const std::u16string& name = kMouseName) {
    return link.HandleDeviceChange(hid, kDeviceRemoveComplete, kDeviceTypeInterface, name, kVid,
                                   kPid);
  }

  FakeHidPlatform hid;
  DeviceLink link;
};

TEST_F(NotificationTest, TheFakesOwnInterfaceNamesConcernTheMouse) {
  EXPECT_TRUE(InterfaceNameMatches(FakeHidPlatform::InterfacePath(kVid, kPid, 1), kVid, kPid));
  EXPECT_FALSE(InterfaceNameMatches(FakeHidPlatform::InterfacePath(kVid, 8, 1), kVid, kPid));
}

TEST_F(NotificationTest, OnlyTheFourthArrivalRediscovers) {
  hid.Add(u"\\\\?\\hid#vid_045e&pid_0800#1", 0x045E, 0x0800);
  ASSERT_FALSE(link.Discover(hid, kVid, kPid));
  PlugIn();
  const int enumerations = hid.Enumerations;

  const bool expected[] = {false, false, false, true, false, false};
  for (size_t k = 0; k < std::size(expected); ++k) {
    SCOPED_TRACE(k + 1);
    EXPECT_EQ(expected[k], Arrive());
    EXPECT_EQ(static_cast<int32_t>(k + 1), link.ArrivalCount());
    EXPECT_EQ(k >= 3, link.Present());
    EXPECT_EQ(enumerations + (k >= 3 ? 1 : 0), hid.Enumerations);
  }
  ASSERT_NE(nullptr, link.ConfigInterface());
  EXPECT_EQ(FakeHidPlatform::InterfacePath(kVid, kPid, 1), link.ConfigInterface()->Path());
}

TEST_F(NotificationTest, FourthArrivalEmptiesTheListBeforeRediscovering) {
  PlugIn();
  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  for (int k = 0; k < 3; ++k) Arrive();
  EXPECT_EQ(2u, hid.OpenHandles());
  EXPECT_TRUE(Arrive());
  EXPECT_EQ(2u, link.Devices().Size());
  EXPECT_EQ(2u, hid.OpenHandles());  // the old handles were closed, not kept beside the new
  EXPECT_EQ(0, hid.Misuses);
}

TEST_F(NotificationTest, RemovalIsHandledOnlyWhilePresent) {
  EXPECT_FALSE(Leave());  // never present
  EXPECT_EQ(0, hid.Enumerations);

  PlugIn();
  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  Arrive();
  Arrive();
  Unplug();
  EXPECT_TRUE(Leave());
  EXPECT_FALSE(link.Present());
  EXPECT_TRUE(link.Devices().IsEmpty());
  EXPECT_EQ(nullptr, link.ConfigInterface());
  EXPECT_EQ(0, link.ArrivalCount());
  EXPECT_EQ(0u, hid.OpenHandles());
  EXPECT_EQ(0u, hid.LivePreparsedData());

  const int enumerations = hid.Enumerations;
  EXPECT_FALSE(Leave());  // the mouse's other interfaces leaving: already absent
  EXPECT_EQ(enumerations, hid.Enumerations);

  // Plugged in again: the count started over at the removal.
  PlugIn();
  for (int k = 0; k < 3; ++k) EXPECT_FALSE(Arrive());
  EXPECT_TRUE(Arrive());
  EXPECT_TRUE(link.Present());
}

// The rediscovery after the first removal notification can still see interfaces that have not
// left yet; the mouse then stays present until a later notification finds none.
TEST_F(NotificationTest, PartlyRemovedMouseStaysPresentUntilNoneIsLeft) {
  PlugIn();
  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  hid.Remove(FakeHidPlatform::InterfacePath(kVid, kPid, 1));
  EXPECT_TRUE(Leave());
  EXPECT_TRUE(link.Present());
  EXPECT_EQ(1u, link.Devices().Size());
  EXPECT_EQ(nullptr, link.ConfigInterface());

  hid.Remove(FakeHidPlatform::InterfacePath(kVid, kPid, 0));
  EXPECT_TRUE(Leave());
  EXPECT_FALSE(link.Present());
  EXPECT_EQ(0u, hid.OpenHandles());
}

TEST_F(NotificationTest, OtherEventsTypesAndDevicesAreIgnored) {
  PlugIn();
  ASSERT_TRUE(link.Discover(hid, kVid, kPid));
  struct Case {
    uint32_t event, type;
    std::u16string name;
  };
  const Case cases[] = {
      {0x0007, kDeviceTypeInterface, kMouseName},  // DBT_DEVNODES_CHANGED
      {0x8001, kDeviceTypeInterface, kMouseName},  // DBT_DEVICEQUERYREMOVE
      {0x8003, kDeviceTypeInterface, kMouseName},  // DBT_DEVICEREMOVEPENDING
      {kDeviceArrival, 2, kMouseName},             // DBT_DEVTYP_VOLUME
      {kDeviceRemoveComplete, 6, kMouseName},      // DBT_DEVTYP_HANDLE
      {kDeviceArrival, kDeviceTypeInterface, kOtherName},
      {kDeviceRemoveComplete, kDeviceTypeInterface, kOtherName},
      {kDeviceRemoveComplete, kDeviceTypeInterface, u""},
  };
  for (int round = 0; round < 4; ++round) {
    for (const Case& c : cases) {
      EXPECT_EQ(DeviceChangeAction::None, link.OnDeviceChange(c.event, c.type, c.name, kVid, kPid));
    }
  }
  EXPECT_EQ(0, link.ArrivalCount());
  EXPECT_TRUE(link.Present());
  EXPECT_EQ(2u, link.Devices().Size());
}

TEST_F(NotificationTest, ConfiguredIdentifiersDecideWhatConcernsTheMouse) {
  hid.Add(u"\\\\?\\hid#vid_045e&pid_0800#1", 0x045E, 0x0800, 8);
  ASSERT_TRUE(link.Discover(hid, 0x045E, 0x0800));
  EXPECT_FALSE(link.HandleDeviceChange(hid, kDeviceRemoveComplete, kDeviceTypeInterface, kMouseName,
                                       0x045E, 0x0800));
  EXPECT_TRUE(link.HandleDeviceChange(hid, kDeviceRemoveComplete, kDeviceTypeInterface, kOtherName,
                                      0x045E, 0x0800));
  EXPECT_TRUE(link.Present());  // still plugged in: rediscovered at once
}

}  // namespace
}  // namespace corvane
