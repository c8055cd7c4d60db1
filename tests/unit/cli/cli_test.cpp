// corvane-cli run in-process on fixture folders and on folders the tests build.
#include "cli/cli.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "cli/describe.h"
#include "model/records.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/file_io.h"
#include "storage/macro_store.h"
#include "storage/profile.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"
#include "unit/cli/oversized_configuration.h"

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result Cli(std::initializer_list<std::string> args) {
  std::vector<std::u16string> wide;
  for (const std::string& a : args) wide.push_back(text::Utf8ToUtf16(a));
  std::u16string out, err;
  const int status = RunCli(wide, out, err);
  return {status, text::Utf16ToUtf8(out), text::Utf16ToUtf8(err)};
}

std::string Utf8(const fs::path& path) { return text::Utf16ToUtf8(path.u16string()); }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

const fs::path kWorkedExample = fs::path(CORVANE_FIXTURES_DIR) / "cli" / "worked-example";
const fs::path kDemo = fs::path(CORVANE_DATA_DIR);

// A fresh folder per test, removed afterwards.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() / (std::string("corvane-cli-") + info->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    SetAppFolder(u"");
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  // A folder with an empty Macros folder.
  fs::path MakeFolder(const std::string& name) {
    fs::create_directories(root_ / name / "Macros");
    return root_ / name;
  }
  // A copy of the demo data.
  fs::path CopyDemo(const std::string& name) {
    fs::copy(kDemo, root_ / name, fs::copy_options::recursive);
    return root_ / name;
  }
  // Stores assignments 1..count in folder's Corvane.ini, as Apply would.
  static void StoreButtons(const fs::path& folder, const ButtonAssignment* buttons, int count) {
    SetAppFolder(folder.u16string());
    ASSERT_TRUE(profile::WriteInt(SettingsFilePath(), u"Hardware", u"Buttons", count));
    ASSERT_TRUE(SaveButtonAssignments(buttons, count));
    SetAppFolder(u"");
  }
  fs::path root_;
};

ButtonAssignment Function(int32_t code) {
  ButtonAssignment a{};
  a.FunctionCode = code;
  a.MacroIndex = -1;
  return a;
}

ButtonAssignment MacroButton(const char16_t* name, int32_t mode, uint32_t interval) {
  ButtonAssignment a = Function(kFunctionMacro);
  CopyName(a.MacroName, name);
  a.ExecutionMode = mode;
  a.ExecutionInterval = interval;
  return a;
}

TEST_F(CliTest, ImageOfTheWorkedExample) {
  const Result r = Cli({"image", "--dir", Utf8(kWorkedExample)});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out,
            "0204000000000000\n"  // the start report
            "02FF000000000000\n"
            "0201000804590100\n"
            "0200137F137FC001\n"
            "02000255C1040601\n"
            "0203000000000000\n"
            "Length: 40\n");
  EXPECT_THAT(r.err, IsEmpty());
}

TEST_F(CliTest, ImageRefusesAConfigurationThatDoesNotFit) {
  const fs::path folder = MakeFolder("big");
  StoreOversizedConfiguration(folder);

  const Result r = Cli({"image", "--dir", Utf8(folder)});
  EXPECT_EQ(r.status, kExitTooLarge);
  EXPECT_THAT(r.out, IsEmpty());
  EXPECT_THAT(r.err, HasSubstr("they are 538 bytes too large"));
  EXPECT_EQ(Lines(r.err), 1u);
}

TEST_F(CliTest, ShowTheDemoData) {
  const Result r = Cli({"show", "--dir", Utf8(kDemo)});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_THAT(r.err, IsEmpty());
  for (const char* line : {
           "Mouse: VID 3A7C, PID 0007, 7 buttons, demo mode on, language 0\n",
           "  1  Left Button:       Left-click\n",
           "  2  Right Button:      Right-click\n",
           "  3  Middle Button:     Cycling DPI\n",
           "  4  Forward Button:    Macro: Burst Fire (Auto, 66 ms)\n",
           "  5  Backward Button:   Hot Key: SHIFT + CTRL + S\n",
           "  6  General Button 1:  Play/Pause\n",
           "  7  General Button 2:  Macro: Hello (One-shot)\n",
           "DPI stages (4 per axis):\n  X: 400, 800, 1600, 3200\n  Y: 400, 800, 1200, 1600\n",
           "Report rate: 500 reports per second\n",
           "Macros (3):\n  1  Burst Fire: 12 events\n  2  Hello: 17 events\n"
           "  3  Copy Paste: 15 events\n",
       }) {
    EXPECT_THAT(r.out, HasSubstr(line));
  }
  EXPECT_THAT(r.out, Not(HasSubstr("General Button 3")));  // 7 buttons: the eighth row is unused
}

TEST_F(CliTest, ShowFlagsWhatTheProgramCannotUse) {
  const fs::path folder = MakeFolder("odd");
  fs::create_directories(folder / "Languages");
  WriteFile(folder / "Languages" / "1031.ini", "[Strings]\n196=Rechte Taste:\n212=Makro:\n");
  WriteFile(folder / "Corvane.ini",
            "[Application]\nLCID=1031\n[Hardware]\nReportRate=3\nXequalY=1\nResolutions=2\n"
            "[ResolutionX]\n1=0\n2=15\n[ResolutionY]\n1=4\n2=16\n"
            "[Macros]\nNumbers=1\n1=Listed\n");
  const ButtonAssignment buttons[] = {Function(1), MacroButton(u"Gone", kModeManual, 500),
                                      Function(0), Function(38), Function(77)};
  StoreButtons(folder, buttons, 5);

  const Result r = Cli({"show", "--dir", Utf8(folder)});
  EXPECT_EQ(r.status, kExitOk);
  for (const char* line : {
           "language 1031\n",
           "  2  Rechte Taste:     Makro: Gone (Manual, 500 ms) - Macro Gone is not found.\n",
           "  3  Middle Button:    Disabled\n",
           "  4  Forward Button:   Bass Down\n",
           "  5  Backward Button:  no function (code 77)\n",
           "DPI stages (2 per axis, Y follows X):\n  X: 200, 3200\n  Y: 1000, invalid (code 16)\n",
           "Report rate: not set (code 3)\n",
           "  1  Listed: 0 events (no file in Macros)\n",
       }) {
    EXPECT_THAT(r.out, HasSubstr(line));
  }
}

TEST_F(CliTest, ShowWithoutSettingsFileGivesTheDefaults) {
  const fs::path folder = MakeFolder("empty");
  const Result r = Cli({"show", "--dir", Utf8(folder)});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_THAT(r.err, HasSubstr("holds no Corvane.ini"));
  EXPECT_THAT(r.out, HasSubstr("7 buttons, demo mode off, language 0\n"));
  EXPECT_THAT(r.out, HasSubstr("  2  Right Button:      Disabled\n"));
  EXPECT_THAT(r.out, HasSubstr("Report rate: not set (code 2000)\n"));
  EXPECT_THAT(r.out, HasSubstr("Macros (0)\n"));
  EXPECT_FALSE(fs::exists(folder / "Corvane.ini"));  // show writes nothing
}

TEST(HotKeyTextTest, NamesCombinationsWithTheKeyNameTable) {
  struct Case {
    uint16_t vk, modifiers;
    const char16_t* text;
  } cases[] = {
      {0x43, kModLeftCtrl, u"CTRL + C"},
      {0x43, kModLeftShift | kModLeftCtrl, u"SHIFT + CTRL + C"},
      {0x24, kModRightAlt | kModExtended, u"Right ALT + HOME"},  // the extended bit names nothing
      {0x70,
       kModLeftShift | kModRightShift | kModLeftCtrl | kModRightCtrl | kModLeftAlt | kModRightAlt,
       u"SHIFT + Right SHIFT + CTRL + Right CONTROL + ALT + Right ALT + F1"},
      {0xDC, 0, u"\\|"},
      {0x07, 0, u"key 0x07"},  // no name in the table
      {0, kModLeftCtrl, u"CTRL + (no key)"},
      {0, 0, u"(none)"},
  };
  for (const Case& c : cases) EXPECT_EQ(HotKeyText(c.vk, c.modifiers, 0), c.text) << c.vk;
}

TEST_F(CliTest, BadCommandLinesAndFoldersFailWithOneLine) {
  const fs::path file = root_ / "plain-file";
  WriteFile(file, "x");
  const fs::path unreadable = MakeFolder("unreadable-settings");
  fs::create_directories(unreadable / "Corvane.ini");  // a folder where the file should be
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  } cases[] = {
      {{}, kExitUsage, "no command given"},
      {{"frobnicate"}, kExitUsage, "unknown command \"frobnicate\""},
      {{"show", "--verbose"}, kExitUsage, "unknown option \"--verbose\""},
      {{"show", "--dir"}, kExitUsage, "--dir needs a folder"},
      {{"show", "--dir="}, kExitUsage, "--dir needs a folder"},
      {{"show", "--dir", "a", "--dir", "b"}, kExitUsage, "--dir is given twice"},
      {{"show", "extra"}, kExitUsage, "usage: corvane-cli show"},
      {{"image", "extra"}, kExitUsage, "usage: corvane-cli image"},
      {{"macro"}, kExitUsage, "macro needs export or import"},
      {{"macro", "rename"}, kExitUsage, "unknown macro command \"rename\""},
      {{"macro", "export", "Hello"}, kExitUsage, "usage: corvane-cli macro export NAME FILE"},
      {{"macro", "import"}, kExitUsage, "usage: corvane-cli macro import FILE"},
      // Each command takes its own options only.
      {{"image", "--json", "--force", "--any-device"}, kExitUsage, "image does not take --json"},
      {{"show", "--force"}, kExitUsage, "show does not take --force"},
      {{"backup", "x.json", "--json"}, kExitUsage, "backup does not take --json"},
      {{"apply", "--any-device"}, kExitUsage, "apply does not take --any-device"},
      {{"macro", "import", "x.mcr", "--force"}, kExitUsage, "macro import does not take --force"},
      {{"macro", "export", "A", "x", "--any-device"},
       kExitUsage,
       "macro export does not take --any-device"},
      {{"show", "--dir", Utf8(root_ / "missing")}, kExitFailure, "does not exist"},
      {{"image", "--dir", Utf8(file)}, kExitFailure, "is not a folder"},
      {{"show", "--dir", Utf8(unreadable)}, kExitFailure, "cannot read"},
      {{"macro", "export", "Nope", Utf8(root_ / "x.mcr"), "--dir", Utf8(kDemo)},
       kExitFailure,
       "no macro named \"Nope\""},
      {{"macro", "export", "hello", Utf8(root_ / "x.mcr"), "--dir", Utf8(kDemo)},
       kExitFailure,
       "no macro named \"hello\""},  // names are matched exactly
      {{"macro", "export", "Hello", Utf8(root_ / "no" / "x.mcr"), "--dir", Utf8(kDemo)},
       kExitFailure,
       "does not exist"},
      {{"macro", "export", "Hello", Utf8(root_), "--dir", Utf8(kDemo)},
       kExitFailure,
       "is a folder"},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> wide;
    for (const std::string& a : c.args) wide.push_back(text::Utf8ToUtf16(a));
    std::u16string out, err;
    const int status = RunCli(wide, out, err);
    const std::string message = text::Utf16ToUtf8(err);
    SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0] + " " + message);
    EXPECT_EQ(status, c.status);
    EXPECT_THAT(message, HasSubstr(c.message));
    EXPECT_EQ(message.rfind("corvane-cli: ", 0), 0u);
    EXPECT_EQ(Lines(message), 1u);
    EXPECT_TRUE(out.empty());
  }
}

TEST_F(CliTest, HelpGoesToStandardOutput) {
  for (const char* flag : {"--help", "-h", "help"}) {
    const Result r = Cli({flag});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_THAT(r.out, HasSubstr("Usage: corvane-cli COMMAND [--dir DIR]"));
    EXPECT_THAT(r.out, HasSubstr("macro import FILE"));
    EXPECT_THAT(r.err, IsEmpty());
  }
  EXPECT_EQ(Cli({"show", "--help"}).status, kExitOk);  // help wins over everything else
}

TEST_F(CliTest, ExportWritesTheExchangeFile) {
  const fs::path demo = CopyDemo("demo");
  const fs::path target = root_ / "Burst.mcr";
  Result r = Cli({"macro", "export", "Burst Fire", Utf8(target), "--dir", Utf8(demo)});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_THAT(r.out, HasSubstr("Exported macro \"Burst Fire\" (12 events)"));
  // The exchange file has the layout of the macro's own file.
  auto profileOf = [](const fs::path& p) { return profile::Document::Load(p.u16string()); };
  const auto exported = profileOf(target);
  const auto own = profileOf(demo / "Macros" / "Burst Fire.ini");
  EXPECT_EQ(exported.GetInt(u"Events", u"Numbers", -1), 12);
  for (const char16_t* key : {u"1", u"2", u"12"}) {
    EXPECT_EQ(exported.Get(u"Events", key), own.Get(u"Events", key));
  }

  // An existing file is updated only on request, and then keeps its other sections.
  WriteFile(target, "[Notes]\nby=hand\n[Events]\nNumbers=1\n");
  r = Cli({"macro", "export", "Burst Fire", Utf8(target), "--dir", Utf8(demo)});
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_THAT(r.err, HasSubstr("exists; add --force"));
  EXPECT_EQ(profileOf(target).GetInt(u"Events", u"Numbers", -1), 1);
  r = Cli({"macro", "export", "Burst Fire", Utf8(target), "--force", "--dir", Utf8(demo)});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(profileOf(target).GetInt(u"Events", u"Numbers", -1), 12);
  EXPECT_EQ(profileOf(target).GetString(u"Notes", u"by", u""), u"hand");

  // Without an extension the file gets .mcr, as from the save dialog.
  r = Cli({"macro", "export", "Hello", Utf8(root_ / "greeting"), "--dir", Utf8(demo)});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(fs::exists(root_ / "greeting.mcr"));
}

TEST_F(CliTest, ImportAddsAndSavesTheMacro) {
  const fs::path folder = MakeFolder("target");
  const fs::path source = root_ / "Fire.mcr";
  fs::copy_file(kDemo / "Macros" / "Burst Fire.ini", source);

  Result r = Cli({"macro", "import", Utf8(source), "--dir", Utf8(folder)});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_THAT(r.out, HasSubstr("as macro \"Fire\" (12 events)"));
  EXPECT_TRUE(fs::exists(folder / "Macros" / "Fire.ini"));
  r = Cli({"show", "--dir", Utf8(folder)});
  EXPECT_THAT(r.out, HasSubstr("Macros (1):\n  1  Fire: 12 events\n"));

  // A second import of the same file may not take the first one's file: it gets a new name.
  r = Cli({"macro", "import", Utf8(source), "--dir", Utf8(folder)});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_THAT(r.out, HasSubstr("as macro \"Fire (2)\" (12 events), renamed"));
  r = Cli({"show", "--dir", Utf8(folder)});
  EXPECT_THAT(r.out, HasSubstr("  1  Fire: 12 events\n  2  Fire (2): 12 events\n"));
}

TEST_F(CliTest, ImportRefusesWhatCannotBeStored) {
  const fs::path folder = MakeFolder("target");
  const fs::path noMacros = root_ / "no-macros-folder";
  fs::create_directories(noMacros);
  auto source = [&](const std::string& name, const std::string& content) {
    WriteFile(root_ / name, content);
    return Utf8(root_ / name);
  };
  const std::string good = "[Events]\nNumbers=1\n1=000100004100000042\n";
  struct Case {
    std::string file;
    fs::path dir;
    const char* message;
  } cases[] = {
      {Utf8(root_ / "missing.mcr"), folder, "does not exist"},
      {source("plain.mcr", "just text\n"), folder, "has no [Events] section"},
      {source("damaged.mcr", "[Events]\nNumbers=2\n1=000100004100000042\n2=000100004100000043\n"),
       folder, "event 2 is missing or malformed"},
      {source("short.mcr", "[Events]\nNumbers=3\n1=000100004100000042\n"), folder,
       "event 2 is missing or malformed"},
      {source("huge.mcr", "[Events]\nNumbers=600\n"), folder, "claims 600 events"},
      {source("negative.mcr", "[Events]\nNumbers=-1\n"), folder, "claims -1 events"},
      {source("good.mcr", good), noMacros, "has no Macros folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Result r = Cli({"macro", "import", c.file, "--dir", Utf8(c.dir)});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_THAT(r.err, HasSubstr(c.message));
    EXPECT_EQ(Lines(r.err), 1u);
  }
  EXPECT_TRUE(fs::is_empty(folder / "Macros"));  // nothing half-imported
  EXPECT_FALSE(fs::exists(folder / "Corvane.ini"));

  // A full library takes no more.
  std::string names = "[Macros]\nNumbers=128\n";
  for (int i = 1; i <= kMaxMacros; ++i)
    names += std::to_string(i) + "=M" + std::to_string(i) + "\n";
  WriteFile(folder / "Corvane.ini", names);
  const Result r = Cli({"macro", "import", source("good.mcr", good), "--dir", Utf8(folder)});
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_THAT(r.err, HasSubstr("already holds 128 macros"));
  EXPECT_TRUE(fs::is_empty(folder / "Macros"));
}

TEST_F(CliTest, ExportRefusesAnotherMacrosStoredFile) {
  const fs::path demo = CopyDemo("demo");
  const fs::path burst = demo / "Macros" / "Burst Fire.ini";
  const std::string before = ReadFile(burst);
  for (const fs::path& target : {burst, demo / "Macros" / "." / "Burst Fire.ini"}) {
    const Result r =
        Cli({"macro", "export", "Hello", Utf8(target), "--force", "--dir", Utf8(demo)});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_THAT(r.err, HasSubstr("holds the events of macro \"Burst Fire\""));
    EXPECT_EQ(Lines(r.err), 1u);
    EXPECT_EQ(ReadFile(burst), before);
  }
}

TEST_F(CliTest, ImportLeavesNothingBehindWhenTheListCannotBeWritten) {
  const fs::path folder = MakeFolder("target");
  WriteFile(folder / "Corvane.ini", "[Macros]\nNumbers=0\n");
  fs::permissions(folder / "Corvane.ini", fs::perms::owner_read);
  // An orphan file the import would take over: it gets its bytes back.
  WriteFile(folder / "Macros" / "Fire (2).ini", "[Events]\nNumbers=0\n; kept\n");
  for (const char* name : {"Fire.mcr", "Fire (2).mcr"}) {
    SCOPED_TRACE(name);
    fs::copy_file(kDemo / "Macros" / "Burst Fire.ini", root_ / name);
    const Result r = Cli({"macro", "import", Utf8(root_ / name), "--dir", Utf8(folder)});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_THAT(r.err, HasSubstr("nothing was imported"));
  }
  fs::permissions(folder / "Corvane.ini", fs::perms::owner_all);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder / "Macros"))
    left.push_back(entry.path().filename().string());
  EXPECT_THAT(left, ::testing::ElementsAre("Fire (2).ini"));
  EXPECT_EQ(ReadFile(folder / "Macros" / "Fire (2).ini"), "[Events]\nNumbers=0\n; kept\n");
}

// A folder holding 128 macros of 512 events, assigned to the buttons, as the program saves them.
fs::path FullLibrary(const fs::path& folder) {
  fs::create_directories(folder / "Macros");
  SetAppFolder(folder.u16string());
  auto library = std::make_unique<MacroLibrary>();
  for (int m = 0; m < kMaxMacros; ++m) {
    Macro& macro = library->Macros[m];
    CopyName(macro.Name, u"Macro " + text::Utf8ToUtf16(std::to_string(m + 1)));
    for (int e = 0; e < kMaxEvents; ++e)
      macro.Events[e] = {e % 3 == 2 ? kMsgDelay : kMsgKeyDown + e % 2, 0x41 + (e + m) % 26};
    macro.EventCount = kMaxEvents;
    SaveMacroEvents(macro);
  }
  SaveMacroNames(*library, kMaxMacros);
  ButtonAssignment buttons[7] = {};
  for (int i = 1; i < 7; ++i) {
    buttons[i].FunctionCode = kFunctionMacro;
    CopyName(buttons[i].MacroName, NameView(library->Macros[i * 20].Name));
    buttons[i].ExecutionInterval = 100;
  }
  SaveButtonAssignments(buttons, 7);
  SetAppFolder(u"");
  return folder;
}

TEST_F(CliTest, BackupRestoreBackupGivesTheSameDocumentAndReports) {
  for (const fs::path& source : {CopyDemo("demo"), FullLibrary(root_ / "full")}) {
    SCOPED_TRACE(source);
    const fs::path first = root_ / (source.filename().string() + "-1.json");
    const fs::path second = root_ / (source.filename().string() + "-2.json");
    const fs::path empty = root_ / (source.filename().string() + "-empty");
    fs::create_directories(empty);
    Result r = Cli({"backup", Utf8(first), "--dir", Utf8(source)});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(Cli({"show", "--json", "--dir", Utf8(source)}).out, ReadFile(first));
    r = Cli({"restore", Utf8(first), "--dir", Utf8(empty)});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Restored "));
    r = Cli({"backup", Utf8(second), "--dir", Utf8(empty)});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(ReadFile(first), ReadFile(second));
    const Result before = Cli({"image", "--dir", Utf8(source)});
    const Result after = Cli({"image", "--dir", Utf8(empty)});
    EXPECT_EQ(before.status, after.status);
    EXPECT_EQ(before.out + before.err, after.out + after.err);
  }
}

TEST_F(CliTest, RestoreRefusesWithOneLineAndAnExitStatus) {
  const fs::path demo = CopyDemo("demo");
  const fs::path json = root_ / "demo.json";
  ASSERT_EQ(Cli({"backup", Utf8(json), "--dir", Utf8(demo)}).status, kExitOk);
  std::string text = ReadFile(json);
  text.replace(text.find("\"vendorId\": \"3A7C\""), 18, "\"vendorId\": \"1234\"");
  WriteFile(json, text);
  const std::string settings = ReadFile(demo / "Corvane.ini");
  Result r = Cli({"restore", Utf8(json), "--dir", Utf8(demo)});
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_THAT(r.err, HasSubstr("$.device: the configuration is for the mouse 1234:0007"));
  EXPECT_THAT(r.err, HasSubstr("add --any-device"));
  EXPECT_EQ(Lines(r.err), 1u);
  EXPECT_EQ(ReadFile(demo / "Corvane.ini"), settings);
  r = Cli({"restore", Utf8(json), "--any-device", "--dir", Utf8(demo)});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_THAT(r.out, HasSubstr("the replaced configuration is in "));
  EXPECT_THAT(Cli({"show", "--dir", Utf8(demo)}).out, HasSubstr("VID 1234"));

  r = Cli({"restore", Utf8(root_ / "missing.json"), "--dir", Utf8(demo)});
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_THAT(r.err, HasSubstr("does not exist"));
  EXPECT_EQ(Cli({"restore", "--dir", Utf8(demo)}).status, kExitUsage);
  EXPECT_EQ(Cli({"backup", "a", "b", "--dir", Utf8(demo)}).status, kExitUsage);
}

}  // namespace
}  // namespace corvane::cli

namespace corvane::cli {
namespace {

int g_settingsReads = 0;
void CountSettingsReads(const std::u16string& path) {
  if (fs::path(path).filename() == "Corvane.ini") ++g_settingsReads;
}

TEST_F(CliTest, EachCommandReadsCorvaneIniOnce) {
  const fs::path demo = CopyDemo("demo");
  const fs::path exchange = root_ / "Hello.mcr";
  const fs::path backup = root_ / "backup.json";
  const struct {
    std::vector<std::string> args;
  } commands[] = {
      {{"show"}},
      {{"show", "--json"}},
      {{"image"}},
      {{"backup", Utf8(backup)}},
      {{"restore", Utf8(backup)}},
      {{"macro", "export", "Hello", Utf8(exchange)}},
      {{"macro", "import", Utf8(exchange)}},
  };
  file_io::SetReadObserver(CountSettingsReads);
  for (const auto& command : commands) {
    std::vector<std::u16string> wide;
    for (const std::string& a : command.args) wide.push_back(text::Utf8ToUtf16(a));
    wide.push_back(u"--dir");
    wide.push_back(demo.u16string());
    std::u16string out, err;
    g_settingsReads = 0;
    const int status = RunCli(wide, out, err);
    SCOPED_TRACE(command.args[0] + (command.args.size() > 1 ? " " + command.args[1] : ""));
    EXPECT_EQ(status, kExitOk) << text::Utf16ToUtf8(err);
    EXPECT_EQ(g_settingsReads, 1);
  }
  file_io::SetReadObserver(nullptr);
}

}  // namespace
}  // namespace corvane::cli
