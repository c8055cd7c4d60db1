// The Linux HID binding on fake sysfs trees: discovery, what reaches the node, refusals and a
// device that leaves.
#include "device/hid_linux.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/upload.h"
#include "fakes/fake_hid_platform.h"
#include "fakes/fake_sysfs.h"
#include "fakes/worked_example.h"
#include "model/records.h"

namespace corvane {
namespace {

using fakes::FakeSysfs;
using fakes::RecordingSleeper;
using ::testing::ElementsAre;
using Bytes = std::vector<uint8_t>;

constexpr uint16_t kVid = kSupportedVendorId;
constexpr uint16_t kPid = kSupportedProductId;

std::string Utf8(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class HidLinuxTest : public ::testing::Test {
 protected:
  HidLinuxTest() : tree(::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    fakes::SetWorkedExample(hardware, pointer, assignments);
  }

  // Another maker's keyboard, and the mouse's three interfaces: pointer, a keyboard with the
  // LED report, and the vendor interface that takes the configuration, numbered so that the
  // kernel's order (9 before 10) and the order of the names differ.
  void AddSystem() {
    tree.Add(2, 0x046D, 0xC31C, "keyboard.bin");
    tree.Add(3, kVid, kPid, "mouse.bin");
    tree.Add(9, kVid, kPid, "keyboard.bin");
    tree.Add(10, kVid, kPid, "vendor.bin");
  }

  UploadResult Upload(HidPlatform& platform, const DeviceLink& link, Sleeper& sleeper) {
    return UploadConfiguration(platform, sleeper, link, false, hardware, pointer, assignments,
                               *library);
  }

  std::unique_ptr<HidPlatform> Platform() {
    return CreateLinuxHidPlatform(tree.SysfsRoot(), tree.DevRoot());
  }

  FakeSysfs tree;
  HardwareSettings hardware;
  PointerSettings pointer{};
  ButtonAssignment assignments[kMaxAssignments]{};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
};

TEST_F(HidLinuxTest, DiscoveryChoosesTheLastInterfaceTakingOutputReportsInKernelOrder) {
  AddSystem();
  // Interfaces that cannot be described are passed over: a damaged descriptor, no HID_ID.
  tree.AddRaw(4, FakeSysfs::Uevent(kVid, kPid), std::string("\x05\x01\x09\x02\xA1\x01", 6));
  tree.AddRaw(5, "DRIVER=hid-generic\n", "");
  const auto platform = Platform();

  std::vector<std::u16string> paths;
  ASSERT_TRUE(platform->EnumerateInterfaces(paths));
  std::vector<std::string> names;
  for (const auto& path : paths) names.push_back(Utf8(path).substr(tree.DevRoot().size() + 1));
  EXPECT_THAT(names,
              ElementsAre("hidraw2", "hidraw3", "hidraw4", "hidraw5", "hidraw9", "hidraw10"));

  DeviceLink link;
  ASSERT_TRUE(link.Discover(*platform, kVid, kPid));
  std::vector<std::string> found;
  std::vector<int> outputLengths;
  for (const HidDevice& device : link.Devices()) {
    found.push_back(Utf8(device.Path()).substr(tree.DevRoot().size() + 1));
    outputLengths.push_back(device.Caps().OutputReportByteLength);
    EXPECT_EQ(kVid, device.Attributes().VendorID);
    EXPECT_EQ(kPid, device.Attributes().ProductID);
  }
  EXPECT_THAT(found, ElementsAre("hidraw3", "hidraw9", "hidraw10"));
  EXPECT_THAT(outputLengths, ElementsAre(0, 2, 8));
  ASSERT_NE(nullptr, link.ConfigInterface());
  EXPECT_EQ(tree.Node(10).u16string(), link.ConfigInterface()->Path());
  EXPECT_EQ(0xFF00, link.ConfigInterface()->Caps().UsagePage);
}

TEST_F(HidLinuxTest, NoHidrawClassIsNoInterfaceAndAnotherVendorIsNoMouse) {
  const auto empty = CreateLinuxHidPlatform((tree.Root() / "nothing").string(), tree.DevRoot());
  std::vector<std::u16string> paths{u"stale"};
  EXPECT_TRUE(empty->EnumerateInterfaces(paths));
  EXPECT_TRUE(paths.empty());

  tree.Add(0, 0x046D, 0xC31C, "vendor.bin");
  const auto platform = Platform();
  DeviceLink link;
  EXPECT_FALSE(link.Discover(*platform, kVid, kPid));
  EXPECT_EQ(kInvalidHidHandle,
            platform->Open((tree.Root() / "dev" / "hidraw7").u16string(), true, true));
  EXPECT_EQ(ENOENT, platform->LastError().Code);
}

TEST_F(HidLinuxTest, TheWorkedExampleReachesTheNodeAsStartReportAndFiveFrames) {
  AddSystem();
  const auto platform = Platform();
  DeviceLink link;
  ASSERT_TRUE(link.Discover(*platform, kVid, kPid));
  RecordingSleeper sleeper;
  const UploadResult result = Upload(*platform, link, sleeper);
  EXPECT_EQ(UploadOutcome::Sent, result.Outcome);
  Bytes sent;
  for (const Bytes& report : fakes::WorkedExampleReports())
    sent.insert(sent.end(), report.begin(), report.end());
  EXPECT_EQ(sent, tree.Written(10));
  EXPECT_THAT(sleeper.Pauses, ElementsAre(1000, 32, 32, 32, 32, 32));
  for (int other : {2, 3, 9}) EXPECT_TRUE(tree.Written(other).empty()) << other;
}

// A node the user may not open (no udev rule): the mouse is still found, through sysfs, and the
// upload stops at the open with the system's reason.
TEST_F(HidLinuxTest, ANodeWithoutPermissionIsFoundButRefusedWithTheReason) {
  AddSystem();
  for (int node : {3, 9, 10}) chmod(tree.Node(node).c_str(), 0600);
  const std::string seen = fakes::RunUnprivileged([&] {
    const auto platform = Platform();
    DeviceLink link;
    if (!link.Discover(*platform, kVid, kPid) || !link.ConfigInterface())
      return std::string("absent");
    RecordingSleeper sleeper;
    const UploadResult r = Upload(*platform, link, sleeper);
    return std::to_string(static_cast<int>(r.Outcome)) + " " + std::to_string(r.Error.Code) + " " +
           (r.Error.AccessDenied ? "denied " : "") + Utf8(r.Error.Text) + " " +
           std::to_string(r.ReportsSent) + " " + std::to_string(sleeper.Pauses.size());
  });
  EXPECT_EQ(std::to_string(static_cast<int>(UploadOutcome::OpenFailed)) +
                " 13 denied Permission denied 0 0",
            seen);
  EXPECT_TRUE(tree.Written(10).empty());
}

// Pulled out after the second frame: the node leaves /dev, every later report fails as gone,
// and the last one decides.
TEST_F(HidLinuxTest, ADeviceThatLeavesDuringTheUploadFailsTheRest) {
  AddSystem();
  const auto platform = Platform();
  DeviceLink link;
  ASSERT_TRUE(link.Discover(*platform, kVid, kPid));
  struct Unplugging : RecordingSleeper {
    FakeSysfs* Tree = nullptr;
    void Sleep(uint32_t ms) override {
      RecordingSleeper::Sleep(ms);
      if (Pauses.size() == 3) {
        for (int node : {3, 9, 10}) Tree->Remove(node);
      }
    }
  } sleeper;
  sleeper.Tree = &tree;
  const UploadResult r = Upload(*platform, link, sleeper);
  EXPECT_EQ(UploadOutcome::LastReportFailed, r.Outcome);
  EXPECT_FALSE(r.SaveAssignments);
  EXPECT_EQ(6u, r.ReportsSent);
  EXPECT_EQ(3u, r.FailedReports);
  EXPECT_EQ(3u, r.FirstFailedReport);  // frame 3 of 5
  EXPECT_EQ(ENODEV, r.Error.Code);
  EXPECT_EQ("No such device", Utf8(r.Error.Text));
  EXPECT_EQ(6u, sleeper.Pauses.size());  // the pauses are kept whatever the reports do
}

}  // namespace
}  // namespace corvane
