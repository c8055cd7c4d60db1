// The configuration document as a property over random folders: whatever the program can load
// from a folder, its backup restores into another folder as exactly the same stored values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/configuration_backup.h"
#include "storage/configuration_json.h"
#include "storage/text_encoding.h"
#include "unit/storage/app_folder_fixture.h"
#include "unit/storage/random_folder.h"

namespace corvane {
namespace {

using testing::fs::path;

#ifdef _WIN32
constexpr uint32_t kFolders = 60;  // every file operation is slower under Wine
#else
constexpr uint32_t kFolders = 300;
#endif

// The values two loaded configurations must share: every stored value, and of the records what
// the program reads from them (the name up to its end; the macro link is resolved afresh).
void ExpectSameStoredValues(const StoredConfiguration& a, const StoredConfiguration& b) {
  EXPECT_EQ(a.application.Lcid, b.application.Lcid);
  EXPECT_EQ(a.application.StartWithWindows, b.application.StartWithWindows);
  EXPECT_EQ(a.application.MinimizeToSystemTray, b.application.MinimizeToSystemTray);
  EXPECT_EQ(a.application.Demo, b.application.Demo);
  EXPECT_EQ(a.application.MemoryLength, b.application.MemoryLength);
  EXPECT_EQ(a.hardware.VendorId, b.hardware.VendorId);
  EXPECT_EQ(a.hardware.ProductId, b.hardware.ProductId);
  EXPECT_EQ(a.hardware.ButtonCount, b.hardware.ButtonCount);
  EXPECT_EQ(a.hardware.ReportDelay, b.hardware.ReportDelay);
  EXPECT_EQ(a.hardware.TurboLo, b.hardware.TurboLo);
  EXPECT_EQ(a.pointer.Resolutions, b.pointer.Resolutions);
  EXPECT_EQ(a.pointer.XequalY, b.pointer.XequalY);
  EXPECT_EQ(a.pointer.ReportRate, b.pointer.ReportRate);
  for (int i = 0; i < kMaxStages; ++i) {
    EXPECT_EQ(a.pointer.ResolutionX[i], b.pointer.ResolutionX[i]) << i;
    EXPECT_EQ(a.pointer.ResolutionY[i], b.pointer.ResolutionY[i]) << i;
  }
  EXPECT_EQ(a.applied.PointerSpeed, b.applied.PointerSpeed);
  EXPECT_EQ(a.applied.PointerAcceleration, b.applied.PointerAcceleration);
  EXPECT_EQ(a.buttonSettings.UseComboBox, b.buttonSettings.UseComboBox);
  EXPECT_EQ(a.buttonSettings.IntervalMin, b.buttonSettings.IntervalMin);
  EXPECT_EQ(a.buttonSettings.IntervalMax, b.buttonSettings.IntervalMax);
  EXPECT_EQ(a.buttonSettings.IntervalMaxDigits, b.buttonSettings.IntervalMaxDigits);
  for (int i = 0; i < a.hardware.ButtonCount; ++i) {
    SCOPED_TRACE("button " + std::to_string(i + 1));
    EXPECT_EQ(a.buttonsDefault[i], b.buttonsDefault[i]);
    const ButtonAssignment& x = a.assignments[i];
    const ButtonAssignment& y = b.assignments[i];
    EXPECT_EQ(x.FunctionCode, y.FunctionCode);
    EXPECT_EQ(x.HotKeyVk, y.HotKeyVk);
    EXPECT_EQ(x.HotKeyModifiers, y.HotKeyModifiers);
    EXPECT_EQ(NameView(x.MacroName), NameView(y.MacroName));
    EXPECT_EQ(x.ExecutionMode, y.ExecutionMode);
    EXPECT_EQ(x.ExecutionInterval, y.ExecutionInterval);
    EXPECT_EQ(x.MacroIndex, y.MacroIndex);
  }
  const RecordingOptions& r = a.recording;
  const RecordingOptions& s = b.recording;
  EXPECT_EQ(r.DelayDefault, s.DelayDefault);
  EXPECT_EQ(r.DelayMax, s.DelayMax);
  EXPECT_EQ(r.DelayMaxDigits, s.DelayMaxDigits);
  EXPECT_EQ(r.RecordingMouse, s.RecordingMouse);
  EXPECT_EQ(r.RecordingKeyboard, s.RecordingKeyboard);
  EXPECT_EQ(r.RecordingDelay, s.RecordingDelay);
  EXPECT_EQ(r.RecordingMinimize, s.RecordingMinimize);
  EXPECT_EQ(r.RecordingUseHotkey, s.RecordingUseHotkey);
  EXPECT_EQ(r.RecordingHotkey, s.RecordingHotkey);
  ASSERT_EQ(a.library.MacroCount, b.library.MacroCount);
  for (int i = 0; i < a.library.MacroCount; ++i) {
    SCOPED_TRACE("macro " + std::to_string(i));
    const Macro& m = a.library.Macros[i];
    const Macro& n = b.library.Macros[i];
    EXPECT_EQ(NameView(m.Name), NameView(n.Name));
    ASSERT_EQ(m.EventCount, n.EventCount);
    for (int e = 0; e < m.EventCount; ++e) {
      EXPECT_EQ(m.Events[e].Message, n.Events[e].Message) << e;
      EXPECT_EQ(m.Events[e].Data, n.Events[e].Data) << e;
    }
  }
}

class ConfigurationRoundTripTest : public testing::AppFolderTest {
 protected:
  // With CORVANE_DOCUMENTS_DIR set, every document goes there too, for the schema's validator
  // (tests/schema/validate_documents.py).
  static void Keep(const std::string& name, const std::string& document) {
    if (const char* dir = std::getenv("CORVANE_DOCUMENTS_DIR"))
      testing::WriteBytes(path(dir) / (name + ".json"), document);
  }
};

TEST_F(ConfigurationRoundTripTest, EveryLoadableFolderRestoresFromItsBackupAsItWas) {
  const path source = folder_ / "source";
  const path target = folder_ / "target";
  for (uint32_t seed = 1; seed <= kFolders; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    testing::fs::remove_all(source);
    testing::fs::remove_all(target);
    testing::fs::create_directories(source / "Macros");
    testing::fs::create_directories(target);
    testing::RandomFolder(seed).Write(source);

    SetAppFolder(source.u16string());
    const auto loaded = LoadStoredConfiguration();
    const std::string backup = ConfigurationToJson(*loaded);
    Keep("seed-" + std::to_string(seed), backup);

    SetAppFolder(target.u16string());
    RestoreOptions options;
    options.anyDevice = true;  // the folder it goes to is set up for the supported mouse
    const RestoreResult restored = RestoreConfiguration(backup, options);
    ASSERT_TRUE(restored.ok) << text::Utf16ToUtf8(restored.error) << "\n" << backup;
    const auto again = LoadStoredConfiguration();
    ExpectSameStoredValues(*loaded, *again);
    EXPECT_EQ(backup, ConfigurationToJson(*again));
    if (HasFailure()) break;  // one folder's story is enough
  }
}

// Values the program loads without complaint that a backup once carried and restore refused, each
// in a folder of its own.
TEST_F(ConfigurationRoundTripTest, ValuesWithoutANameOrOutsideTheUsualRangesRestore) {
  ButtonAssignment record{};
  auto recordText = [&](int32_t function, uint16_t vk, uint32_t interval) {
    std::memset(&record, 0, sizeof record);
    record.FunctionCode = function;
    record.HotKeyVk = vk;
    record.ExecutionInterval = interval;
    return testing::StructText(&record, sizeof record);
  };
  const struct {
    const char* what;
    std::string settings;
    std::string macro;  // the events of macro "M", listed as the only macro
  } cases[] = {
      {"function code without a name",
       "[Buttons]\r\n1=" + recordText(41, 0, 66) + "\r\n2=" + recordText(-1, 0, 66) +
           "\r\n3=" + recordText(256, 0, 66) + "\r\n",
       ""},
      {"hot key beyond 255", "[Buttons]\r\n2=" + recordText(254, 300, 66) + "\r\n", ""},
      {"interval limits the wrong way round",
       "[Buttons]\r\nIntervalMin=500\r\nIntervalMax=100\r\n2=" + recordText(255, 0, 300) + "\r\n",
       ""},
      {"restore-defaults code without a name", "[ButtonsDefault]\r\n2=99\r\n3=-1\r\n", ""},
      {"negative report delay", "[Hardware]\r\nDelay=-5\r\n", ""},
      {"stage codes outside 0..15", "[ResolutionX]\r\n1=16\r\n[ResolutionY]\r\n2=-1\r\n", ""},
      {"report-rate code outside the list", "[Hardware]\r\nReportRate=3\r\n", ""},
      {"applied speed outside 1..20", "[Hardware]\r\nPointerSpeed=0\r\nPointerAcceleration=7\r\n",
       ""},
      {"recording delays and digits beyond the usual",
       "[Recording]\r\nDelayDefault=-1\r\nDelayMax=20000000\r\nDelayMaxDigits=0\r\n", ""},
      {"delay of 2^24 ms and more", "",
       "1=" + testing::EventText(kMsgDelay, 0x1000000) +
           "\r\n2=" + testing::EventText(kMsgDelay, -1) + "\r\n"},
      {"a name that keys no file and a repeated name",
       "[Macros]\r\nNumbers=4\r\n1=M\r\n2=Fi/re\r\n3=M\r\n4=\r\n",
       "1=" + testing::EventText(kMsgKeyDown, 'A') + "\r\n"},
  };
  const path source = folder_ / "source";
  const path target = folder_ / "target";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::fs::remove_all(source);
    testing::fs::remove_all(target);
    testing::fs::create_directories(source / "Macros");
    testing::fs::create_directories(target);
    std::string settings = c.settings;
    if (settings.find("[Macros]") == std::string::npos)
      settings += "[Macros]\r\nNumbers=1\r\n1=M\r\n";
    testing::WriteBytes(source / "Corvane.ini", settings);
    testing::WriteBytes(
        source / "Macros" / "M.ini",
        "[Events]\r\nNumbers=" + std::to_string(std::count(c.macro.begin(), c.macro.end(), '=')) +
            "\r\n" + c.macro);
    SetAppFolder(source.u16string());
    const auto loaded = LoadStoredConfiguration();
    const std::string backup = ConfigurationToJson(*loaded);
    Keep(std::string("case-") + c.what, backup);
    SetAppFolder(target.u16string());
    const RestoreResult restored = RestoreConfiguration(backup);
    EXPECT_TRUE(restored.ok) << text::Utf16ToUtf8(restored.error);
    if (!restored.ok) continue;
    ExpectSameStoredValues(*loaded, *LoadStoredConfiguration());
  }
}

}  // namespace
}  // namespace corvane
