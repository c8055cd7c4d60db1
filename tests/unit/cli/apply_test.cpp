// corvane-cli apply, in-process, against the fake HID platform (and natively also against the
// Linux binding on a fake sysfs tree).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "fakes/fake_hid_platform.h"
#include "model/records.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/macro_store.h"
#include "storage/profile.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"
#include "unit/cli/oversized_configuration.h"
#if defined(__linux__)
#include <sys/stat.h>

#include "device/hid_linux.h"
#include "fakes/fake_sysfs.h"
#endif

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using fakes::FakeHidPlatform;
using fakes::RecordingSleeper;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

const fs::path kWorkedExample = fs::path(CORVANE_FIXTURES_DIR) / "cli" / "worked-example";

std::string Utf8(const fs::path& path) { return text::Utf16ToUtf8(path.u16string()); }

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Result {
  int status;
  std::string out;
  std::string err;
};

class ApplyTest : public ::testing::Test {
 protected:
  void TearDown() override { SetAppFolder(u""); }

  Result Run(std::initializer_list<std::string> args, const Environment& environment) {
    std::vector<std::u16string> wide;
    for (const std::string& a : args) wide.push_back(text::Utf8ToUtf16(a));
    std::u16string out, err;
    const int status = RunCli(wide, out, err, environment);
    return {status, text::Utf16ToUtf8(out), text::Utf16ToUtf8(err)};
  }
  Result Apply(const fs::path& folder = kWorkedExample) {
    Environment environment;
    environment.Hid = &hid;
    environment.Sleep = &sleeper;
    return Run({"apply", "--dir", Utf8(folder)}, environment);
  }

  FakeHidPlatform hid;
  RecordingSleeper sleeper;
};

// Exactly the reports `image` lists, in its order, with the pauses of Apply; nothing saved.
TEST_F(ApplyTest, SendsWhatImageListsWithTheProgramsPauses) {
  fakes::FakeHidInterface& config = hid.AddMouse();
  const std::string before = ReadAll(kWorkedExample / "Corvane.ini");

  const Result r = Apply();
  EXPECT_EQ(kExitOk, r.status) << r.err;
  EXPECT_EQ("Applied the configuration to the mouse (VID 3A7C, PID 0007): 5 frames\n", r.out);
  // Not a terminal: the progress is one line at the end.
  EXPECT_THAT(r.err, StartsWith("Sent 6 of 6 reports in "));
  EXPECT_THAT(r.err, EndsWith(" s\n"));
  EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n'));

  Environment none;
  const Result image = Run({"image", "--dir", Utf8(kWorkedExample)}, none);
  std::string sent;
  static const char kDigits[] = "0123456789ABCDEF";
  for (const fakes::FakeReport& report : hid.Reports) {
    EXPECT_EQ(config.Path, report.Path);
    for (uint8_t b : report.Bytes) sent += {kDigits[b >> 4], kDigits[b & 0xF]};
    sent += "\n";
  }
  EXPECT_EQ(image.out, sent + "Length: 40\n");
  EXPECT_THAT(sleeper.Pauses, ElementsAre(1000, 32, 32, 32, 32, 32));
  EXPECT_EQ(1, sleeper.PreciseRuns);
  EXPECT_EQ(before, ReadAll(kWorkedExample / "Corvane.ini"));
  EXPECT_EQ(0u, hid.OpenHandles());
  EXPECT_EQ(0, hid.Misuses);
}

// On a terminal: what was said before comes first, then a bar redrawn after every report, and
// the closing line over it.
TEST_F(ApplyTest, OnATerminalDrawsAProgressBar) {
  hid.AddMouse();
  const fs::path folder = fs::temp_directory_path() / "corvane-apply-terminal";
  fs::remove_all(folder);
  fs::create_directories(folder);  // no Corvane.ini: the defaults, and a note
  std::vector<std::string> writes;
  Environment terminal;
  terminal.Hid = &hid;
  terminal.Sleep = &sleeper;
  terminal.Terminal = [&](const std::u16string& text) {
    writes.push_back(text::Utf16ToUtf8(text));
  };

  const Result r = Run({"apply", "--dir", Utf8(folder)}, terminal);
  fs::remove_all(folder);
  EXPECT_EQ(kExitOk, r.status) << r.err;
  EXPECT_THAT(r.err, IsEmpty());
  ASSERT_GE(writes.size(), 3u);
  EXPECT_THAT(writes.front(), HasSubstr("holds no Corvane.ini"));
  const size_t reports = writes.size() - 2;
  EXPECT_EQ(hid.Reports.size(), reports);
  EXPECT_EQ("\rUploading [" + std::string(40 / reports, '#') + std::string(40 - 40 / reports, '.') +
                "] 1/" + std::to_string(reports),
            writes[1]);
  EXPECT_EQ("\rUploading [" + std::string(40, '#') + "] " + std::to_string(reports) + "/" +
                std::to_string(reports),
            writes[writes.size() - 2]);
  EXPECT_THAT(writes.back(), StartsWith("\rSent " + std::to_string(reports) + " of "));
  EXPECT_THAT(writes.back(), EndsWith(" \n"));  // long enough to cover the bar
  EXPECT_GE(writes.back().size(), writes[1].size() + 1);
}

TEST_F(ApplyTest, EachFailureHasItsExitCodeAndOneLine) {
  struct Case {
    const char* name;
    void (*arrange)(FakeHidPlatform&);
    int status;
    const char* message;
    size_t reports;
  };
  const Case cases[] = {
      {"no mouse", [](FakeHidPlatform& h) { h.Add(u"\\\\?\\hid#other", 0x046D, 0xC31C, 2); },
       kExitNoMouse, "corvane-cli: the mouse (VID 3A7C, PID 0007) is not connected\n", 0},
      {"no interface takes output reports",
       [](FakeHidPlatform& h) { h.AddMouse().OutputReportByteLength = 0; }, kExitNoMouse,
       "corvane-cli: the mouse (VID 3A7C, PID 0007) is connected, but none of its 2 interfaces "
       "takes output reports\n",
       0},
      {"open refused",
       [](FakeHidPlatform& h) {
         fakes::FakeHidInterface& config = h.AddMouse();
         config.FailReadWriteOpen = true;
         config.OpenError = {32, false,
                             u"The process cannot access the file because it is "
                             u"being used by another process."};
       },
       kExitOpenFailed,
       "corvane-cli: cannot open \"\\\\?\\hid#vid_3a7c&pid_0007&mi_01#7&1a2b&0&0000#"
       "{4d1e55b2-f16f-11cf-88cb-001111000030}\": The process cannot access the file because "
       "it is being used by another process.\n",
       0},
      {"last report failed",
       [](FakeHidPlatform& h) {
         h.AddMouse().ReportResults = {true, true, false, true, true, false};
       },
       kExitReportFailed,
       "corvane-cli: frame 2 of 5 failed: A device attached to the system is not functioning. "
       "(2 of 6 reports failed, the last among them)\n",
       6},
      {"start report and all after it failed",
       [](FakeHidPlatform& h) { h.AddMouse().FailReports = true; }, kExitReportFailed,
       "corvane-cli: the start report failed: A device attached to the system is not "
       "functioning. (6 of 6 reports failed, the last among them)\n",
       6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hid = FakeHidPlatform{};
    sleeper = RecordingSleeper{};
    c.arrange(hid);
    const Result r = Apply();
    EXPECT_EQ(c.status, r.status);
    EXPECT_THAT(r.out, IsEmpty());
    // After an upload the progress line comes first.
    const std::string progress = c.reports ? "Sent 6 of 6 reports in " : "";
    EXPECT_THAT(r.err, StartsWith(progress));
    EXPECT_THAT(r.err, EndsWith(c.message));
    EXPECT_EQ(c.reports, hid.Reports.size());
    EXPECT_EQ(0u, hid.OpenHandles());
  }
}

// The last report decides, as in the program; an earlier failure is still told.
TEST_F(ApplyTest, AFailureBeforeASuccessfulLastReportIsAWarning) {
  hid.AddMouse().ReportResults = {true, true, true, false, true, true};
  const Result r = Apply();
  EXPECT_EQ(kExitOk, r.status);
  EXPECT_THAT(r.err, EndsWith("corvane-cli: warning: frame 3 of 5 failed: A device attached to "
                              "the system is not functioning. (1 of 6 reports failed; the last "
                              "succeeded)\n"));
}

TEST_F(ApplyTest, TooLargeAndNoWayToTheMouseSendNothing) {
  const fs::path folder = fs::temp_directory_path() / "corvane-apply-big";
  fs::remove_all(folder);
  fs::create_directories(folder / "Macros");
  StoreOversizedConfiguration(folder);
  Environment none;
  const Result image = Run({"image", "--dir", Utf8(folder)}, none);

  hid.AddMouse();
  const Result big = Apply(folder);
  fs::remove_all(folder);
  EXPECT_EQ(kExitTooLarge, big.status);
  EXPECT_EQ(image.status, big.status);
  EXPECT_EQ(image.err, big.err);

  const Result noHid = Run({"apply", "--dir", Utf8(kWorkedExample)}, none);
  EXPECT_EQ(kExitFailure, noHid.status);
  EXPECT_EQ("corvane-cli: this system gives no access to HID devices\n", noHid.err);
  EXPECT_TRUE(hid.Reports.empty());

  const Result extra = Apply(kWorkedExample / "Corvane.ini");
  EXPECT_EQ(kExitFailure, extra.status);
  EXPECT_TRUE(hid.Reports.empty());
}

#if defined(__linux__)
// Through the Linux binding: a node the user may not open (the udev rule is missing) is
// refused with the system's reason and the way to mend it.
TEST_F(ApplyTest, OnLinuxAnUnopenableNodeNamesTheUdevRule) {
  fakes::FakeSysfs tree("apply-permission");
  tree.Add(3, kSupportedVendorId, kSupportedProductId, "mouse.bin");
  tree.Add(4, kSupportedVendorId, kSupportedProductId, "vendor.bin");
  chmod(tree.Node(4).c_str(), 0600);
  fs::copy(kWorkedExample, tree.Root() / "folder");
  const std::string seen = fakes::RunUnprivileged([&] {
    const auto platform = CreateLinuxHidPlatform(tree.SysfsRoot(), tree.DevRoot());
    Environment environment;
    environment.Hid = platform.get();
    environment.Sleep = &sleeper;
    const Result r = Run({"apply", "--dir", Utf8(tree.Root() / "folder")}, environment);
    return std::to_string(r.status) + "|" + r.out + "|" + r.err;
  });
  EXPECT_EQ("5||corvane-cli: cannot open \"" + tree.Node(4).string() +
                "\": Permission denied; install the udev rule data/linux/70-corvane.rules, then "
                "unplug and plug in the mouse (see \"Linux: upload without Wine\" in the "
                "README)\n",
            seen);
  EXPECT_TRUE(tree.Written(4).empty());
}
#endif

}  // namespace
}  // namespace corvane::cli
