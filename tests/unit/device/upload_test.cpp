// Sending the configuration to the mouse: what goes out, through which handle, with which pauses,
// and when nothing may be sent at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "device/device_link.h"
#include "device/encoder.h"
#include "device/upload.h"
#include "fakes/fake_hid_platform.h"
#include "fakes/worked_example.h"
#include "model/records.h"

namespace corvane {
namespace {

using fakes::FakeHidInterface;
using fakes::FakeHidPlatform;
using fakes::RecordingSleeper;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = std::vector<uint8_t>;

const std::u16string kInputPath = u"\\\\?\\hid#vid_3a7c&pid_0007&mi_00#7&1";
const std::u16string kConfigPath = u"\\\\?\\hid#vid_3a7c&pid_0007&mi_01#7&2";

class UploadTest : public ::testing::Test {
 protected:
  UploadTest() {
    hid.Add(u"\\\\?\\hid#vid_045e&pid_0800#1", 0x045E, 0x0800, 2);
    hid.Add(kInputPath, kSupportedVendorId, kSupportedProductId, 0);
    config = &hid.Add(kConfigPath, kSupportedVendorId, kSupportedProductId, 8);
    hid.Add(u"\\\\?\\hid#vid_045e&pid_0801#1", 0x045E, 0x0801, 0);

    fakes::SetWorkedExample(hardware, pointer, assignments);
  }

  void Discover() { ASSERT_TRUE(link.Discover(hid, kSupportedVendorId, kSupportedProductId)); }

  UploadResult Upload(bool demo = false) {
    return UploadConfiguration(hid, sleeper, link, demo, hardware, pointer, assignments, *library);
  }

  // A One-shot macro of `events` key presses (2 bytes each): a record of 4 + 2 * events bytes.
  void AssignMacro(int button, int events) {
    const int slot = library->MacroCount++;
    Macro& m = library->Macros[slot];
    m.Name[0] = static_cast<char16_t>(u'A' + slot);
    m.EventCount = events;
    for (int e = 0; e < events; ++e) m.Events[e] = MacroEvent{kMsgKeyDown, 0x41};
    ButtonAssignment& a = assignments[button - 1];
    a.FunctionCode = kFunctionMacro;
    a.ExecutionMode = kModeOneShot;
    a.MacroName[0] = m.Name[0];
    a.MacroIndex = slot;
    a.MacroLink = static_cast<MacroRef>(slot + 1);
  }

  // What every outcome that sends nothing has in common.
  void ExpectNothingSent(const UploadResult& r) {
    EXPECT_TRUE(hid.Reports.empty());
    EXPECT_EQ(0u, r.ReportsSent);
    EXPECT_FALSE(r.SaveAssignments);
    EXPECT_TRUE(sleeper.Pauses.empty());
    EXPECT_EQ(link.Devices().Size(), hid.OpenHandles());  // nothing left open beside the list
    EXPECT_EQ(link.Devices().Size(), hid.LivePreparsedData());
    EXPECT_EQ(0, hid.Misuses);
  }

  FakeHidPlatform hid;
  FakeHidInterface* config = nullptr;
  RecordingSleeper sleeper;
  DeviceLink link;
  HardwareSettings hardware;
  PointerSettings pointer{};
  ButtonAssignment assignments[kMaxAssignments]{};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
};

TEST_F(UploadTest, WorkedExampleGoesOutAsStartReportAndFiveFrames) {
  Discover();
  const UploadResult r = Upload();
  EXPECT_EQ(UploadOutcome::Sent, r.Outcome);
  EXPECT_TRUE(r.SaveAssignments);
  EXPECT_EQ(6u, r.ReportsSent);
  EXPECT_EQ(fakes::WorkedExampleReports(), hid.ReportBytes());
  EXPECT_THAT(sleeper.Pauses, ElementsAre(1000, 32, 32, 32, 32, 32));
}

// Every report, the start report included, goes through the handle discovery opened without
// access; the read/write open only checks the device and is closed again.
TEST_F(UploadTest, ReportsGoThroughTheDiscoveryHandleAndTheReadWriteOpenIsClosed) {
  Discover();
  const HidHandle discovery = link.ConfigInterface()->Handle();
  ASSERT_EQ(UploadOutcome::Sent, Upload().Outcome);

  for (const fakes::FakeReport& report : hid.Reports) EXPECT_EQ(discovery, report.Handle);
  const fakes::FakeOpen* opened = hid.OpenOf(discovery);
  ASSERT_NE(nullptr, opened);
  EXPECT_FALSE(opened->Read || opened->Write);

  const fakes::FakeOpen& readWrite = hid.Opens.back();
  EXPECT_EQ(kConfigPath, readWrite.Path);
  EXPECT_TRUE(readWrite.Read && readWrite.Write);
  EXPECT_NE(kInvalidHidHandle, readWrite.Handle);
  EXPECT_FALSE(hid.HandleIsOpen(readWrite.Handle));

  // The list is untouched and every handle it holds still works.
  EXPECT_TRUE(hid.HandleIsOpen(discovery));
  EXPECT_EQ(2u, hid.OpenHandles());
  EXPECT_EQ(2u, hid.LivePreparsedData());
  EXPECT_EQ(0, hid.Misuses);
}

TEST_F(UploadTest, PausesAfterStartAndAfterEveryFrame) {
  struct Case {
    int32_t reportDelay;
    std::vector<uint32_t> pauses;
  };
  const Case cases[] = {
      {32, {1000, 32, 32, 32, 32, 32}},
      {1, {1000, 1, 1, 1, 1, 1}},
      {250, {1000, 250, 250, 250, 250, 250}},
      {0, {1000}},    // frames follow each other without pause
      {-20, {1000}},  // a negative delay is no delay
  };
  Discover();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reportDelay);
    hardware.ReportDelay = c.reportDelay;
    sleeper.Pauses.clear();
    hid.Reports.clear();
    EXPECT_EQ(UploadOutcome::Sent, Upload().Outcome);
    EXPECT_EQ(c.pauses, sleeper.Pauses);
    EXPECT_EQ(6u, hid.Reports.size());
  }
}

// Only the last report decides; no failure stops the loop.
TEST_F(UploadTest, LastReportResultRules) {
  struct Case {
    std::vector<bool> results;  // start report, then the five frames
    bool sent;
    size_t failed, firstFailed;  // how many failed, and the first of them (0 the start report)
  };
  const Case cases[] = {
      {{true, true, true, true, true, true}, true, 0, 0},
      {{true, true, true, false, true, true}, true, 1, 3},  // a failed middle frame
      {{false, true, true, true, true, true}, true, 1, 0},  // the start report alone failed
      {{false, false, false, false, false, true}, true, 5, 0},
      {{true, true, true, true, true, false}, false, 1, 5},
      {{true, false, false, false, false, false}, false, 5, 1},
  };
  config->ReportError = HidError{1167, false, u"The device is not connected."};
  Discover();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.results));
    hid.ClearReports();
    config->ReportResults = c.results;
    const UploadResult r = Upload();
    EXPECT_EQ(c.sent ? UploadOutcome::Sent : UploadOutcome::LastReportFailed, r.Outcome);
    EXPECT_EQ(c.sent, r.SaveAssignments);
    EXPECT_EQ(6u, r.ReportsSent);
    ASSERT_EQ(6u, hid.Reports.size());
    for (size_t k = 0; k < 6; ++k) EXPECT_EQ(c.results[k], hid.Reports[k].Result);
    EXPECT_EQ(0x03, hid.Reports.back().Bytes[1]);  // the closing frame was still sent
    EXPECT_EQ(6u, r.ReportsTotal);
    EXPECT_EQ(c.failed, r.FailedReports);
    EXPECT_EQ(c.firstFailed, r.FirstFailedReport);
    EXPECT_EQ(c.failed ? u"The device is not connected." : u"", r.Error.Text);
  }
}

// The observer hears of each report before the pause after it, and every pause of the upload
// is inside one precise run of the sleeper.
TEST_F(UploadTest, ProgressComesBeforeEachPauseAndThePausesArePrecise) {
  struct Observer : UploadObserver {
    RecordingSleeper* Sleeper = nullptr;
    std::vector<std::vector<size_t>> Seen;  // sent, total, pauses taken so far
    void OnReportSent(size_t sent, size_t total, bool succeeded) override {
      Seen.push_back({sent, total, Sleeper->Pauses.size(), succeeded ? 1u : 0u});
    }
  } observer;
  observer.Sleeper = &sleeper;
  config->ReportResults = {true, true, false};
  Discover();
  const UploadResult r = UploadConfiguration(hid, sleeper, link, false, hardware, pointer,
                                             assignments, *library, &observer);
  EXPECT_EQ(UploadOutcome::Sent, r.Outcome);
  using V = std::vector<size_t>;
  EXPECT_THAT(observer.Seen, ElementsAre(V{1, 6, 0, 1}, V{2, 6, 1, 1}, V{3, 6, 2, 0}, V{4, 6, 3, 1},
                                         V{5, 6, 4, 1}, V{6, 6, 5, 1}));
  EXPECT_EQ(1, sleeper.PreciseRuns);
  EXPECT_EQ(0, sleeper.PreciseDepth);
  EXPECT_EQ(sleeper.Pauses, sleeper.PrecisePausesTaken);

  // Nothing sent, no precise run: the demo pause is not the device's.
  DeviceLink absent;
  sleeper = RecordingSleeper{};
  UploadConfiguration(hid, sleeper, absent, true, hardware, pointer, assignments, *library,
                      &observer);
  EXPECT_EQ(0, sleeper.PreciseRuns);
}

// The system's reason comes with a failed open; a device that answers as another one has none.
TEST_F(UploadTest, AFailedOpenTellsTheSystemsReason) {
  Discover();
  config->FailReadWriteOpen = true;
  config->OpenError = HidError{13, true, u"Permission denied"};
  UploadResult r = Upload();
  EXPECT_EQ(UploadOutcome::OpenFailed, r.Outcome);
  EXPECT_EQ(13, r.Error.Code);
  EXPECT_TRUE(r.Error.AccessDenied);
  EXPECT_EQ(u"Permission denied", r.Error.Text);

  config->FailReadWriteOpen = false;
  config->ProductId = 0x0008;  // the path now belongs to another device
  r = Upload();
  EXPECT_EQ(UploadOutcome::OpenFailed, r.Outcome);
  EXPECT_EQ(0, r.Error.Code);
  ExpectNothingSent(r);
}

TEST_F(UploadTest, NothingIsSentWithoutAConfigInterfaceOrAReadWriteOpen) {
  struct Case {
    const char* name;
    void (*arrange)(FakeHidPlatform&);
    UploadOutcome outcome;
  };
  const Case cases[] = {
      {"no interface takes output reports",
       [](FakeHidPlatform& h) { h.Find(kConfigPath)->OutputReportByteLength = 0; },
       UploadOutcome::NoConfigInterface},
      {"read/write open fails",
       [](FakeHidPlatform& h) { h.Find(kConfigPath)->FailReadWriteOpen = true; },
       UploadOutcome::OpenFailed},
      {"unplugged since discovery", [](FakeHidPlatform& h) { h.Remove(kConfigPath); },
       UploadOutcome::OpenFailed},
      {"path now belongs to another device",
       [](FakeHidPlatform& h) { h.Find(kConfigPath)->ProductId = 0x0008; },
       UploadOutcome::OpenFailed},
      {"reopened interface has no caps",
       [](FakeHidPlatform& h) { h.Find(kConfigPath)->FailCaps = true; }, UploadOutcome::OpenFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHidPlatform system;
    system.Add(kInputPath, kSupportedVendorId, kSupportedProductId, 0);
    system.Add(kConfigPath, kSupportedVendorId, kSupportedProductId, 8);
    DeviceLink mouse;
    if (c.outcome == UploadOutcome::NoConfigInterface) c.arrange(system);
    ASSERT_TRUE(mouse.Discover(system, kSupportedVendorId, kSupportedProductId));
    if (c.outcome != UploadOutcome::NoConfigInterface) c.arrange(system);

    const UploadResult r = UploadConfiguration(system, sleeper, mouse, false, hardware, pointer,
                                               assignments, *library);
    EXPECT_EQ(c.outcome, r.Outcome);
    EXPECT_FALSE(r.SaveAssignments);
    EXPECT_EQ(0u, r.ReportsSent);
    EXPECT_TRUE(system.Reports.empty());
    EXPECT_TRUE(sleeper.Pauses.empty());
    EXPECT_EQ(mouse.Devices().Size(), system.OpenHandles());
    EXPECT_EQ(mouse.Devices().Size(), system.LivePreparsedData());
    EXPECT_EQ(0, system.Misuses);
  }
}

TEST_F(UploadTest, WithoutTheMouseOnlyDemoModeSaves) {
  hid.Remove(kInputPath);
  hid.Remove(kConfigPath);
  EXPECT_FALSE(link.Discover(hid, kSupportedVendorId, kSupportedProductId));
  const size_t opens = hid.Opens.size();

  UploadResult r = Upload(false);
  EXPECT_EQ(UploadOutcome::NoMouse, r.Outcome);
  ExpectNothingSent(r);

  r = Upload(true);
  EXPECT_EQ(UploadOutcome::Demo, r.Outcome);
  EXPECT_TRUE(r.SaveAssignments);
  EXPECT_EQ(0u, r.ReportsSent);
  EXPECT_TRUE(hid.Reports.empty());
  EXPECT_THAT(sleeper.Pauses, ElementsAre(500));
  EXPECT_EQ(opens, hid.Opens.size());  // nothing is opened either
}

TEST_F(UploadTest, DemoModeChangesNothingWhileTheMouseIsThere) {
  Discover();
  const UploadResult r = Upload(true);
  EXPECT_EQ(UploadOutcome::Sent, r.Outcome);
  EXPECT_EQ(6u, hid.Reports.size());
  EXPECT_EQ(1000u, sleeper.Pauses.front());
}

// A configuration the image cannot hold is refused before the start report, so the mouse is
// never left with a half-written configuration.
TEST_F(UploadTest, TooLargeSendsNothingAndTellsTheOverflow) {
  Discover();
  struct Case {
    int eventsButton2, eventsButton3;
    size_t overflow;  // payload beyond 1514 bytes
  };
  const Case cases[] = {
      {512, 242, 2},    // (4 + 1024) + (4 + 484) = 1516
      {512, 512, 542},  // 2 * 1028 = 2056
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.overflow);
    library = std::make_unique<MacroLibrary>();
    AssignMacro(2, c.eventsButton2);
    AssignMacro(3, c.eventsButton3);
    const UploadResult r = Upload();
    EXPECT_EQ(UploadOutcome::TooLarge, r.Outcome);
    EXPECT_EQ(c.overflow, r.Overflow);
    ExpectNothingSent(r);
  }
}

TEST_F(UploadTest, AConfigurationThatFillsTheImageExactlyGoesOutWhole) {
  Discover();
  AssignMacro(2, 512);  // 1028 bytes
  AssignMacro(3, 241);  // 486 bytes: 1514 in all
  const UploadResult r = Upload();
  EXPECT_EQ(UploadOutcome::Sent, r.Outcome);
  EXPECT_EQ(0u, r.Overflow);
  EXPECT_EQ(1u + kDeviceImageSize / 8, r.ReportsSent);
  ASSERT_EQ(1u + kDeviceImageSize / 8, hid.Reports.size());
  EXPECT_EQ(Bytes({0x02, 0x03, 0, 0, 0, 0, 0, 0}), hid.Reports.back().Bytes);
  EXPECT_EQ(1u + kDeviceImageSize / 8, sleeper.Pauses.size());
}

// Assignment 1 is never sent, and no ButtonCount makes the upload read past the 16 assignments.
TEST_F(UploadTest, EncodesButtonsTwoToButtonCountWithinTheArray) {
  Discover();
  for (int i = 0; i < kMaxAssignments; ++i) assignments[i].FunctionCode = 1 + i;
  struct Case {
    int32_t buttonCount;
    int encoded;
  };
  const Case cases[] = {{-3, 0}, {0, 0}, {1, 0}, {2, 1}, {7, 6}, {16, 15}, {17, 15}, {1000, 15}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.buttonCount);
    hardware.ButtonCount = c.buttonCount;
    hid.ClearReports();
    DeviceImage want{};
    const EncodeResult e =
        EncodeDeviceImage(pointer.ResolutionX, pointer.ResolutionY, assignments + 1, c.encoded,
                          pointer.ReportRate, hardware.TurboLo, *library, want);
    ASSERT_TRUE(e.Fits());
    ASSERT_EQ(UploadOutcome::Sent, Upload().Outcome);
    ASSERT_EQ(1 + e.Length / 8, hid.Reports.size());
    for (size_t k = 0; k < e.Length / 8; ++k) {
      EXPECT_THAT(hid.Reports[k + 1].Bytes, ElementsAreArray(want.Bytes + 8 * k, 8)) << k;
    }
  }
}

}  // namespace
}  // namespace corvane
