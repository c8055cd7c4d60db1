// The configuration document: its round trip, every refusal of a restore, the atomic restore and
// the keys of Corvane.ini it does not carry.
#include "storage/configuration_backup.h"
#include "storage/configuration_json.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app_folder_fixture.h"
#include "model/text.h"
#include "storage/key_names.h"
#include "storage/macro_store.h"
#include "storage/profile.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

using ::testing::HasSubstr;
using testing::ReadBytes;
using testing::WriteBytes;
using testing::fs::path;

// A small configuration with something in every part of the document.
constexpr char kSettings[] =
    "; kept comment\r\n"
    "[Application]\r\nLCID=0\r\nDemo=1\r\nTheme=dark\r\n"
    "[Hardware]\r\nVID=3a7c\r\nPID=7\r\nButtons=4\r\nDelay=16\r\nTurboLo=3\r\nResolutions=2\r\n"
    "XequalY=1\r\nReportRate=4\r\nPointerSpeed=12\r\n"
    "[ResolutionX]\r\n1=1\r\n2=7\r\n3=9\r\n"
    "[ResolutionY]\r\n1=3\r\n2=15\r\n"
    "[Recording]\r\nRecordingUseHotkey=1\r\nRecordingHotkey=40075\r\n"
    "[Macros]\r\nNumbers=2\r\n1=Fire\r\n2=Сохранить\r\n"
    "[Extra]\r\nanything=at all\r\n";

class ConfigurationTest : public testing::AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    WriteSettings(kSettings);
    WriteBytes(MacroFile(u"Fire"),
               "[Events]\r\nNumbers=4\r\n1=" + testing::EventText(kMsgKeyDown, 'A') +
                   "\r\n2=" + testing::EventText(kMsgDelay, 50) +
                   "\r\n3=" + testing::EventText(kMsgKeyUp, 0xE8) +
                   "\r\n4=" + testing::EventText(600, -3) + "\r\n");
    WriteBytes(MacroFile(u"Сохранить"),
               "[Events]\r\nNumbers=1\r\n1=" + testing::EventText(kMsgXButtonDown, 2) + "\r\n");
    auto config = LoadStoredConfiguration();
    ButtonAssignment& hot = config->assignments[1];
    hot.FunctionCode = kFunctionHotKey;
    hot.HotKeyVk = 'C';
    hot.HotKeyModifiers = kModLeftShift | kModLeftCtrl;
    ButtonAssignment& macro = config->assignments[2];
    macro.FunctionCode = kFunctionMacro;
    CopyName(macro.MacroName, u"Fire");
    macro.ExecutionMode = kModeOneShot;
    macro.ExecutionInterval = 120;
    ASSERT_TRUE(SaveButtonAssignments(config->assignments, 4));
  }

  std::string Json() const { return ConfigurationToJson(*LoadStoredConfiguration()); }

  // Every file of the folder and its bytes.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : testing::fs::recursive_directory_iterator(folder_)) {
      if (entry.is_regular_file()) {
        files[testing::fs::relative(entry.path(), folder_).u8string()] = ReadBytes(entry.path());
      }
    }
    return files;
  }
};

TEST_F(ConfigurationTest, DocumentNamesWhatItHolds) {
  const std::string json = Json();
  for (const char* part : {"\"schema\": \"corvane-configuration\"",
                           "\"version\": 1",
                           "\"vendorId\": \"3A7C\"",
                           "\"productId\": \"0007\"",
                           "\"buttons\": 4",
                           "\"dpiX\": [\n      400,\n      1600\n    ]",
                           "\"reportRate\": 250",
                           "\"pointerSpeed\": 12",
                           "\"hotkey\": \"40075\"",
                           "\"name\": \"Hotkey...\"",
                           "\"text\": \"SHIFT + CTRL + C\"",
                           "\"macro\": \"Fire\"",
                           "\"mode\": \"One-shot\"",
                           "\"interval\": 120",
                           "{\n          \"key down\": \"A\"\n        }",
                           "\"delay\": 50",
                           "\"key up\": 232",  // a key without a name keeps its number
                           "\"message\": 600",
                           "\"data\": -3",
                           "\"side button down\": 2",
                           "\"name\": \"Сохранить\""}) {
    EXPECT_THAT(json, HasSubstr(part));
  }
  EXPECT_THAT(json, ::testing::Not(HasSubstr("pointerAcceleration")));  // never applied
}

TEST_F(ConfigurationTest, RoundTripThroughAnEmptyFolder) {
  const std::string first = Json();
  const path other = folder_ / "other";
  testing::fs::create_directories(other);
  SetAppFolder(other.u16string());
  const RestoreResult restored = RestoreConfiguration(first);
  ASSERT_TRUE(restored.ok) << text::Utf16ToUtf8(restored.error);
  EXPECT_TRUE(restored.backupPath.empty()) << "nothing was there to keep";
  EXPECT_EQ(first, Json());
}

TEST_F(ConfigurationTest, EveryNamedKeyReadsBackAsItself) {
  for (int vk = 0; vk <= 0xFF; ++vk) {
    const std::u16string name(BuiltinString(512u + static_cast<uint32_t>(vk)));
    if (!name.empty()) {
      EXPECT_EQ(vk, FindKeyByName(name)) << vk;
    }
  }
}

// The document with one text replaced.
std::string Edited(std::string json, const std::string& from, const std::string& to) {
  const size_t at = json.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) json.replace(at, from.size(), to);
  return json;
}

TEST_F(ConfigurationTest, RestoreRefusesWithOneLineNamingWhereAndWhat) {
  const std::string json = Json();
  std::string manyMacros = "\"macros\": [";
  for (int i = 0; i < 129; ++i)
    manyMacros += "{\"name\": \"M" + std::to_string(i) + "\", \"events\": []},";
  std::string manyEvents = "\"events\": [";
  for (int i = 0; i < 513; ++i) manyEvents += "{\"delay\": 1},";
  struct Case {
    std::string document;
    const char* error;
  } cases[] = {
      {"{\"schema\": ", "not a JSON document: parse error at line 1"},
      {"[]", "$: must be an object"},
      {Edited(json, "corvane-configuration", "other"), "$.schema: \"other\" is not"},
      {Edited(json, "\"version\": 1", "\"version\": 2"), "$.version: version 2 is not supported"},
      {Edited(json, "\"vendorId\": \"3A7C\"", "\"vendorId\": \"1234\""),
       "$.device: the configuration is for the mouse 1234:0007, this folder is set up for "
       "3A7C:0007"},
      {Edited(json, "\"vendorId\": \"3A7C\"", "\"vendorId\": \"3A7CG\""),
       "$.device.vendorId: must be a text of 1 to 4 hexadecimal digits"},
      {Edited(json, "\"buttons\": 4", "\"buttons\": 9"),
       "$.device.buttons: 9 is out of range 2..8"},
      {Edited(json, "\"turboLo\": 3", "\"turboLo\": 256"),
       "$.device.turboLo: 256 is out of range 0..255"},
      {Edited(json, "\"resolutions\": 2", "\"resolutions\": 3"),
       "$.pointer.dpiX: holds 2 stages; resolutions says 3"},
      {Edited(json, "400", "500"), "$.pointer.dpiX[0]: 500 DPI is not a multiple of 200"},
      {Edited(json, "1600", "3400"), "$.pointer.dpiX[1]: 3400 is out of range 200..3200"},
      {Edited(json, "\"reportRate\": 250", "\"reportRate\": 300"),
       "$.pointer.reportRate: 300 is not one of"},
      {Edited(json, "\"reportRate\": 250", "\"reportRate\": \"250\""),
       "$.pointer.reportRate: must be an integer"},
      {Edited(json, "\"pointerSpeed\": 12", "\"pointerSpeed\": 2147483648"),
       "$.pointer.pointerSpeed: 2147483648 is out of range -2147483648..2147483647"},
      {Edited(json, "\"useComboBox\": 0,", ""), "$.buttonSettings: missing key \"useComboBox\""},
      {Edited(json, "\"useComboBox\": 0,", "\"useComboBox\": 0, \"colour\": 1,"),
       "$.buttonSettings.colour: unknown key"},
      {Edited(json, "\"hotkey\": \"40075\"", "\"hotkey\": 40075"),
       "$.recording.hotkey: must be a text"},
      {Edited(json, "\"code\": 254", "\"code\": 99"),
       "$.buttons[1].function.name: \"Hotkey...\" is not the name of function code 99"},
      {Edited(json, "\"code\": 254", "\"code\": -2147483649"),
       "$.buttons[1].function.code: -2147483649 is out of range"},
      {Edited(json, "\"name\": \"Hotkey...\"", "\"name\": \"Hot key\""),
       "$.buttons[1].function.name: unknown function name \"Hot key\""},
      {Edited(json, "\"name\": \"Hotkey...\"", "\"name\": \"Macro...\""),
       "$.buttons[1].function.name: \"Macro...\" is not the name of function code 254"},
      {Edited(json, "\"vk\": 67", "\"vk\": 65536"),
       "$.buttons[1].hotKey.vk: 65536 is out of range 0..65535"},
      {Edited(json, "SHIFT + CTRL + C", "SHIFT + C"),
       "$.buttons[1].hotKey.text: \"SHIFT + C\" does not name vk 67"},
      {Edited(json, "\"mode\": \"One-shot\"", "\"mode\": \"Once\""),
       "$.buttons[2].mode: unknown mode \"Once\""},
      {Edited(json, "\"interval\": 120", "\"interval\": 65"),
       "$.buttons[2].interval: 65 is out of range 66..99999"},
      {Edited(json, "\"macro\": \"Fire\"", "\"macro\": \"" + std::string(128, 'x') + "\""),
       "$.buttons[2].macro: must be at most 127"},
      {Edited(json, "\"button\": 2", "\"button\": 3"),
       "$.buttons[1].button: 3 is out of range 2..2"},
      {Edited(json, "\"key down\": \"A\"", "\"key down\": \"a\""),
       "$.macros[0].events[0][\"key down\"]: unknown key name \"a\""},
      {Edited(json, "\"key down\": \"A\"", "\"key press\": \"A\""),
       "$.macros[0].events[0][\"key press\"]: unknown event kind"},
      {Edited(json, "\"delay\": 50", "\"delay\": 2147483648"),
       "$.macros[0].events[1].delay: 2147483648 is out of range -2147483648..2147483647"},
      {Edited(json, "\"name\": \"Fire\"", "\"name\": \"Fi/re\""),
       "$.macros[0].name: \"Fi/re\" cannot name a macro file"},
      {Edited(json, "\"name\": \"Fire\"", "\"name\": \"CON\""),
       "$.macros[0].name: \"CON\" cannot name a macro file"},
      {Edited(json, "\"name\": \"Сохранить\"", "\"name\": \"FIRE\""),
       "$.macros[1].name: \"FIRE\" is the name of $.macros[0]"},
      {Edited(json, "\"macros\": [", manyMacros), "$.macros: holds 131 macros; at most 128"},
      {Edited(json, "\"events\": [", manyEvents),
       "$.macros[0].events: holds 517 events; at most 512"},
  };
  const auto before = Files();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    const RestoreResult result = RestoreConfiguration(c.document);
    EXPECT_FALSE(result.ok);
    const std::string error = text::Utf16ToUtf8(result.error);
    EXPECT_THAT(error, HasSubstr(c.error));
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
  EXPECT_EQ(before, Files());

  // Another mouse's configuration goes in when asked for.
  RestoreOptions any;
  any.anyDevice = true;
  EXPECT_TRUE(
      RestoreConfiguration(Edited(json, "\"vendorId\": \"3A7C\"", "\"vendorId\": \"1234\""), any)
          .ok);
  EXPECT_EQ(0x1234, profile::ReadHex(SettingsFilePath(), u"Hardware", u"VID", 0));
}

TEST_F(ConfigurationTest, AFailureAtAnyStepLeavesTheFolderAsItWas) {
  // The document to restore: other buttons, one macro fewer, one new.
  std::string json = Edited(Json(), "\"interval\": 120", "\"interval\": 300");
  json = Edited(json, "\"name\": \"Сохранить\"", "\"name\": \"Jump\"");
  testing::fs::remove_all(folder_ / "Macros");  // made again by the restore
  const auto before = Files();
  int step = 0;
  for (;; ++step) {
    RestoreOptions options;
    options.failAtStep = step;
    const RestoreResult result = RestoreConfiguration(json, options);
    if (result.ok) break;
    SCOPED_TRACE(step);
    EXPECT_THAT(text::Utf16ToUtf8(result.error), HasSubstr("nothing was changed"));
    EXPECT_EQ(before, Files());
    EXPECT_FALSE(testing::fs::exists(folder_ / "Macros"));
    ASSERT_LT(step, 20);
  }
  // Macros folder, two staged macro files and Corvane.ini, the kept configuration, and the
  // moves: the test above failed each of them in turn.
  EXPECT_GE(step, 8);
  EXPECT_THAT(Json(), HasSubstr("\"interval\": 300"));
  EXPECT_THAT(Json(), HasSubstr("\"name\": \"Jump\""));
}

TEST_F(ConfigurationTest, RestoreKeepsWhatTheDocumentDoesNotCarryAndThePreviousConfiguration) {
  const std::string before = Json();
  const std::string json = Edited(before, "\"interval\": 120", "\"interval\": 300");
  const RestoreResult result = RestoreConfiguration(json);
  ASSERT_TRUE(result.ok) << text::Utf16ToUtf8(result.error);
  const std::string settings = SettingsText();
  for (const char* kept :
       {"; kept comment\r\n[Application]", "Theme=dark", "[ResolutionX]\r\n1=1\r\n2=7\r\n3=9\r\n",
        "[Extra]\r\nanything=at all\r\n"}) {
    EXPECT_THAT(settings, HasSubstr(kept));
  }
  // The replaced configuration, dated, restores the folder to what it was.
  const std::string backup = ReadBytes(testing::fs::path(result.backupPath));
  const std::string name = testing::fs::path(result.backupPath).filename().string();
  EXPECT_EQ(name.rfind("Corvane-backup-", 0), 0u) << name;  // Corvane-backup-yyyymmdd-hhmmss.json
  EXPECT_EQ(name.size(), std::string("Corvane-backup-20261210-143005.json").size()) << name;
  EXPECT_EQ(before, backup);
  ASSERT_TRUE(RestoreConfiguration(backup).ok);
  EXPECT_EQ(before, Json());
}

}  // namespace
}  // namespace corvane
