#include "storage/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app_folder_fixture.h"
#include "model/text.h"
#include "storage/profile.h"

namespace corvane {
namespace {

using testing::AppFolderTest;
using testing::NewLibrary;
using testing::StructText;

class SettingsTest : public AppFolderTest {
 protected:
  std::u16string Path() const { return SettingsFilePath(); }
  std::u16string Read(std::u16string_view section, std::u16string_view key) const {
    return profile::ReadString(Path(), section, key, u"<missing>");
  }
  static std::string Record(const ButtonAssignment& a) { return StructText(&a, sizeof a); }
  static ButtonAssignment MakeRecord(int32_t function, int32_t mode, uint32_t interval,
                                     std::u16string_view name = u"") {
    ButtonAssignment a;
    std::memset(&a, 0, sizeof a);
    a.FunctionCode = function;
    a.ExecutionMode = mode;
    a.ExecutionInterval = interval;
    CopyName(a.MacroName, name);
    a.MacroIndex = 5;  // stale bytes from another run: never used
    a.MacroLink = 0x77;
    return a;
  }
  // Loads buttonCount records with every other field poisoned first.
  void LoadButtons(ButtonSettings& settings, ButtonAssignment* buttons, int buttonCount,
                   const MacroLibrary& library) {
    std::memset(buttons, 0xAB, sizeof(ButtonAssignment) * kMaxAssignments);
    LoadButtonAssignments(settings, buttons, buttonCount, library);
  }
};

TEST_F(SettingsTest, WithoutAFileEveryValueIsTheDefault) {
  ApplicationSettings app;
  HardwareSettings hw;
  LoadHardwareSettings(app, hw);
  EXPECT_EQ(0u, app.Lcid);
  EXPECT_EQ(0, app.StartWithWindows);
  EXPECT_EQ(1, app.MinimizeToSystemTray);
  EXPECT_EQ(0, app.Demo);
  EXPECT_EQ(0x1000u, app.MemoryLength);
  EXPECT_EQ(kSupportedVendorId, hw.VendorId);
  EXPECT_EQ(kSupportedProductId, hw.ProductId);
  EXPECT_EQ(7, hw.ButtonCount);
  EXPECT_EQ(32, hw.ReportDelay);
  EXPECT_EQ(0, hw.TurboLo);

  PointerSettings pointer = DefaultPointerSettings();
  LoadPointerSettings(pointer);
  EXPECT_EQ(4, pointer.Resolutions);
  EXPECT_EQ(0, pointer.XequalY);
  EXPECT_EQ(2000, pointer.ReportRate);
  const int32_t stages[] = {1, 3, 7, 15};  // 400, 800, 1600, 3200 DPI
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(stages[i], pointer.ResolutionX[i]);
    EXPECT_EQ(stages[i], pointer.ResolutionY[i]);
  }

  ButtonSettings buttons;
  ButtonAssignment records[kMaxAssignments];
  auto library = NewLibrary();
  LoadButtons(buttons, records, hw.ButtonCount, *library);
  EXPECT_EQ(0, buttons.UseComboBox);
  EXPECT_EQ(66u, buttons.IntervalMin);
  EXPECT_EQ(99999u, buttons.IntervalMax);
  EXPECT_EQ(5, buttons.IntervalMaxDigits);
  for (int i = 0; i < hw.ButtonCount; ++i) {
    EXPECT_EQ(0, records[i].FunctionCode);
    EXPECT_EQ(kModeAuto, records[i].ExecutionMode);
    EXPECT_EQ(66u, records[i].ExecutionInterval);
    EXPECT_EQ(-1, records[i].MacroIndex);
    EXPECT_EQ(kNoMacroLink, records[i].MacroLink);
    EXPECT_TRUE(NameView(records[i].MacroName).empty());
  }

  RecordingOptions rec;
  LoadRecordingOptions(rec);
  EXPECT_EQ(128, rec.DelayDefault);
  EXPECT_EQ(99999, rec.DelayMax);
  EXPECT_EQ(5, rec.DelayMaxDigits);
  EXPECT_EQ(1, rec.RecordingMouse);
  EXPECT_EQ(1, rec.RecordingKeyboard);
  EXPECT_EQ(0, rec.RecordingDelay);
  EXPECT_EQ(0, rec.RecordingMinimize);
  EXPECT_EQ(0, rec.RecordingUseHotkey);
  EXPECT_EQ(0u, rec.RecordingHotkey);

  for (int b = 1; b <= 8; ++b) EXPECT_EQ(b - 1, LoadButtonsDefault(b));
  EXPECT_FALSE(testing::fs::exists(Settings())) << "loading never writes";
}

TEST_F(SettingsTest, ReadsEveryKey) {
  WriteSettings(
      "[Application]\r\nLCID=1031\r\nStartWithWindows=1\r\nMinimizeToSystemTray=0\r\nDemo=1\r\n"
      "[Hardware]\r\nVID=045e\r\nPID=0x00CB\r\nMemoryLength=2000\r\nButtons=5\r\nDelay=0\r\n"
      "TurboLo=17\r\nResolutions=3\r\nXequalY=1\r\nReportRate=4\r\n"
      "[ResolutionX]\r\n1=0\r\n2=5\r\n3=9\r\n[ResolutionY]\r\n1=2\r\n2=4\r\n3=6\r\n"
      "[Buttons]\r\nUseComboBox=1\r\nIntervalMin=10\r\nIntervalMax=500\r\nIntervalMaxDigits=3\r\n"
      "[ButtonsDefault]\r\n1=40\r\n3=255\r\n"
      "[Recording]\r\nDelayDefault=50\r\nDelayMax=1000\r\nDelayMaxDigits=4\r\n"
      "RecordingMouse=0\r\nRecordingKeyboard=0\r\nRecordingDelay=1\r\nRecordingMinimize=1\r\n"
      "RecordingUseHotkey=1\r\nRecordingHotkey=40075\r\n");
  ApplicationSettings app;
  HardwareSettings hw;
  LoadHardwareSettings(app, hw);
  EXPECT_EQ(1031u, app.Lcid);
  EXPECT_EQ(1, app.StartWithWindows);
  EXPECT_EQ(0, app.MinimizeToSystemTray);
  EXPECT_EQ(1, app.Demo);
  EXPECT_EQ(0x2000u, app.MemoryLength);
  EXPECT_EQ(0x045E, hw.VendorId);
  EXPECT_EQ(0x00CB, hw.ProductId);
  EXPECT_EQ(5, hw.ButtonCount);
  EXPECT_EQ(0, hw.ReportDelay);
  EXPECT_EQ(17, hw.TurboLo);

  PointerSettings pointer = DefaultPointerSettings();
  LoadPointerSettings(pointer);
  EXPECT_EQ(3, pointer.Resolutions);
  EXPECT_EQ(1, pointer.XequalY);
  EXPECT_EQ(4, pointer.ReportRate);
  EXPECT_EQ((std::vector<int32_t>{0, 5, 9, 15}),
            std::vector<int32_t>(pointer.ResolutionX, pointer.ResolutionX + 4));
  EXPECT_EQ((std::vector<int32_t>{2, 4, 6, 15}),
            std::vector<int32_t>(pointer.ResolutionY, pointer.ResolutionY + 4));

  ButtonSettings buttons;
  ButtonAssignment records[kMaxAssignments];
  LoadButtons(buttons, records, hw.ButtonCount, *NewLibrary());
  EXPECT_EQ(1, buttons.UseComboBox);
  EXPECT_EQ(10u, buttons.IntervalMin);
  EXPECT_EQ(500u, buttons.IntervalMax);
  EXPECT_EQ(3, buttons.IntervalMaxDigits);
  EXPECT_EQ(10u, records[0].ExecutionInterval);

  EXPECT_EQ(40, LoadButtonsDefault(1));
  EXPECT_EQ(1, LoadButtonsDefault(2));
  EXPECT_EQ(255, LoadButtonsDefault(3));

  RecordingOptions rec;
  LoadRecordingOptions(rec);
  EXPECT_EQ(50, rec.DelayDefault);
  EXPECT_EQ(1000, rec.DelayMax);
  EXPECT_EQ(4, rec.DelayMaxDigits);
  EXPECT_EQ(0, rec.RecordingMouse);
  EXPECT_EQ(0, rec.RecordingKeyboard);
  EXPECT_EQ(1, rec.RecordingDelay);
  EXPECT_EQ(1, rec.RecordingMinimize);
  EXPECT_EQ(1, rec.RecordingUseHotkey);
  EXPECT_EQ(0x40075u, rec.RecordingHotkey);  // Alt+F6
}

TEST_F(SettingsTest, HexadecimalIdentifiersKeepTheirLow16Bits) {
  struct Case {
    const char* text;
    uint16_t id;
  } cases[] = {
      {"12345", 0x2345},   // more than four digits: the last four
      {"xyz", 0},          // no digit
      {"", 0},             // present but empty
      {"0x3a7d", 0x3A7D},  // prefix, lower case
      {"  1B2C", 0x1B2C},  // leading blanks
      {"FFFF7", 0xFFF7},
      {"12g4", 0x12},  // stops at the first non-digit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WriteSettings(std::string("[Hardware]\nVID=") + c.text + "\nPID=" + c.text + "\n");
    ApplicationSettings app;
    HardwareSettings hw;
    LoadHardwareSettings(app, hw);
    EXPECT_EQ(c.id, hw.VendorId);
    EXPECT_EQ(c.id, hw.ProductId);
  }
}

TEST_F(SettingsTest, OutOfRangeCountsAreHeldAndTurboLoKeepsItsLowByte) {
  struct Case {
    int stored;
    int buttons;
    int resolutions;
  } cases[] = {
      {-5, 2, 1}, {0, 2, 1}, {1, 2, 1}, {2, 2, 2},  {5, 5, 5},
      {6, 6, 5},  {8, 8, 5}, {9, 8, 5}, {16, 8, 5}, {1000, 8, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    const std::string v = std::to_string(c.stored);
    WriteSettings("[Hardware]\nButtons=" + v + "\nResolutions=" + v + "\nTurboLo=" + v + "\n");
    ApplicationSettings app;
    HardwareSettings hw;
    LoadHardwareSettings(app, hw);
    EXPECT_EQ(c.buttons, hw.ButtonCount);
    EXPECT_EQ(static_cast<uint8_t>(c.stored), hw.TurboLo);
    PointerSettings pointer = DefaultPointerSettings();
    LoadPointerSettings(pointer);
    EXPECT_EQ(c.resolutions, pointer.Resolutions);
  }
}

TEST_F(SettingsTest, RecordsThatFailToReadLoadAsZeroAndValidate) {
  const ButtonAssignment good = MakeRecord(12, kModeManual, 300);
  std::string tooLong = Record(good);
  tooLong.insert(10, "0");
  std::string sumOff = Record(good);
  sumOff.back() = sumOff.back() == 'F' ? 'E' : static_cast<char>(sumOff.back() + 1);
  std::string badDigit = Record(good);
  badDigit[20] = 'G';
  const std::string tooShort = Record(good).substr(1);
  WriteSettings("[Buttons]\nIntervalMin=70\n1=" + Record(good) + "\n2=" + tooLong +
                "\n3=" + sumOff + "\n4=" + badDigit + "\n5=" + tooShort + "\n7=\n");
  ButtonSettings settings;
  ButtonAssignment records[kMaxAssignments];
  LoadButtons(settings, records, 7, *NewLibrary());
  EXPECT_EQ(12, records[0].FunctionCode);
  EXPECT_EQ(kModeManual, records[0].ExecutionMode);
  EXPECT_EQ(300u, records[0].ExecutionInterval);
  for (int i = 1; i < 7; ++i) {  // 6 is missing, 7 empty
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(0, records[i].FunctionCode);
    EXPECT_EQ(0, records[i].HotKeyVk);
    EXPECT_EQ(kModeAuto, records[i].ExecutionMode);
    EXPECT_EQ(70u, records[i].ExecutionInterval);
    EXPECT_EQ(-1, records[i].MacroIndex);
    EXPECT_EQ(kNoMacroLink, records[i].MacroLink);
  }
  // Records beyond the button count are not loaded.
  EXPECT_EQ(static_cast<int32_t>(0xABABABAB), records[7].FunctionCode);
}

TEST_F(SettingsTest, ValidatesModeThenIntervalThenResolvesLinks) {
  struct Case {
    int32_t mode;
    uint32_t interval;
    int32_t wantMode;
    uint32_t wantInterval;
  } cases[] = {
      {7, 100, 0, 100}, {-1, 100, 0, 100},      {2, 100, 2, 100},   {1, 5, 1, 66},
      {0, 0, 0, 66},    {0, 0xFFFFFFFF, 0, 66},  // unsigned
      {0, 66, 0, 66},   {0, 99999, 0, 99999},   {0, 100000, 0, 66}, {0, 0x80000000u, 0, 66},
  };
  auto library = NewLibrary();
  CopyName(library->Macros[0].Name, u"Alpha");
  CopyName(library->Macros[1].Name, u"Fire");
  library->MacroCount = 2;
  std::string text = "[Buttons]\n";
  int n = 0;
  for (const Case& c : cases) {
    ++n;
    const std::u16string_view name = n % 2 ? u"Fire" : u"Nope";
    text += std::to_string(n) + "=" + Record(MakeRecord(kFunctionMacro, c.mode, c.interval, name)) +
            "\n";
  }
  WriteSettings(text);
  ButtonSettings settings;
  ButtonAssignment records[kMaxAssignments];
  LoadButtons(settings, records, n, *library);
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(cases[i].wantMode, records[i].ExecutionMode);
    EXPECT_EQ(cases[i].wantInterval, records[i].ExecutionInterval);
    const bool fire = (i + 1) % 2 != 0;
    // The stored MacroIndex 5 and MacroLink 0x77 are never used.
    EXPECT_EQ(fire ? 1 : -1, records[i].MacroIndex);
    EXPECT_EQ(fire ? MacroRef{2} : kNoMacroLink, records[i].MacroLink);
    EXPECT_EQ(fire ? u"Fire" : u"Nope", std::u16string(NameView(records[i].MacroName)));
  }
}

TEST_F(SettingsTest, IntervalLimitsCompareUnsigned) {
  // IntervalMax -1 is the largest unsigned interval: every interval from IntervalMin on passes.
  WriteSettings(
      "[Buttons]\nIntervalMin=10\nIntervalMax=-1\n1=" + Record(MakeRecord(1, 0, 0x80000000u)) +
      "\n2=" + Record(MakeRecord(1, 0, 0xFFFFFFFFu)) + "\n3=" + Record(MakeRecord(1, 0, 9)) + "\n");
  ButtonSettings settings;
  ButtonAssignment records[kMaxAssignments];
  LoadButtons(settings, records, 3, *NewLibrary());
  EXPECT_EQ(0xFFFFFFFFu, settings.IntervalMax);
  EXPECT_EQ(0x80000000u, records[0].ExecutionInterval);
  EXPECT_EQ(0xFFFFFFFFu, records[1].ExecutionInterval);
  EXPECT_EQ(10u, records[2].ExecutionInterval);
}

TEST_F(SettingsTest, SavingButtonsAddsOnlyTheRecordKeys) {
  WriteSettings("; kept\n[Hardware]\nButtons=5\n[Buttons]\n3=stale\n9=other\n");
  ButtonAssignment records[kMaxAssignments];
  std::memset(records, 0, sizeof records);
  for (int i = 0; i < kMaxAssignments; ++i) records[i] = MakeRecord(i, kModeOneShot, 100 + i);
  ASSERT_TRUE(SaveButtonAssignments(records, 5));
  for (int i = 1; i <= 5; ++i) {
    const std::u16string value = Read(u"Buttons", std::u16string(1, u'0' + i));
    EXPECT_EQ(562u, value.size());
  }
  EXPECT_EQ(u"<missing>", Read(u"Buttons", u"6"));
  EXPECT_EQ(u"other", Read(u"Buttons", u"9"));
  EXPECT_EQ(u"<missing>", Read(u"Buttons", u"UseComboBox"));
  EXPECT_EQ(u"<missing>", Read(u"Buttons", u"IntervalMin"));
  EXPECT_EQ(u"<missing>", Read(u"Buttons", u"IntervalMax"));
  EXPECT_EQ(0u, SettingsText().find("; kept\n[Hardware]\nButtons=5\n[Buttons]\n"));

  ButtonSettings settings;
  ButtonAssignment loaded[kMaxAssignments];
  LoadButtons(settings, loaded, 5, *NewLibrary());
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(i, loaded[i].FunctionCode);
    EXPECT_EQ(kModeOneShot, loaded[i].ExecutionMode);
    EXPECT_EQ(100u + i, loaded[i].ExecutionInterval);
  }
}

TEST_F(SettingsTest, OnlyTheFirstResolutionsStagesAreReadAndWritten) {
  WriteSettings(
      "[Hardware]\nResolutions=2\n"
      "[ResolutionX]\n1=4\n2=5\n3=6\n4=7\n[ResolutionY]\n1=8\n2=9\n3=10\n4=11\n");
  const std::string before = SettingsText();
  PointerSettings pointer = DefaultPointerSettings();
  LoadPointerSettings(pointer);
  EXPECT_EQ(2, pointer.Resolutions);
  EXPECT_EQ((std::vector<int32_t>{4, 5, 7, 15}),
            std::vector<int32_t>(pointer.ResolutionX, pointer.ResolutionX + 4));
  EXPECT_EQ((std::vector<int32_t>{8, 9, 7, 15}),
            std::vector<int32_t>(pointer.ResolutionY, pointer.ResolutionY + 4));

  pointer.ResolutionX[0] = 0;
  pointer.ResolutionX[2] = 1;  // beyond Resolutions: not written
  pointer.ResolutionY[1] = 12;
  pointer.XequalY = 1;
  pointer.ReportRate = 8;
  ASSERT_TRUE(SavePointerSettings(pointer, 10, 1));
  EXPECT_EQ(u"0", Read(u"ResolutionX", u"1"));
  EXPECT_EQ(u"5", Read(u"ResolutionX", u"2"));
  EXPECT_EQ(u"6", Read(u"ResolutionX", u"3"));
  EXPECT_EQ(u"7", Read(u"ResolutionX", u"4"));
  EXPECT_EQ(u"8", Read(u"ResolutionY", u"1"));
  EXPECT_EQ(u"12", Read(u"ResolutionY", u"2"));
  EXPECT_EQ(u"10", Read(u"ResolutionY", u"3"));
  EXPECT_EQ(u"11", Read(u"ResolutionY", u"4"));
  EXPECT_EQ(u"1", Read(u"Hardware", u"XequalY"));
  EXPECT_EQ(u"8", Read(u"Hardware", u"ReportRate"));
  EXPECT_EQ(u"10", Read(u"Hardware", u"PointerSpeed"));
  EXPECT_EQ(u"1", Read(u"Hardware", u"PointerAcceleration"));
  EXPECT_EQ(u"2", Read(u"Hardware", u"Resolutions"));
  // Lines of the untouched keys are byte for byte what they were.
  EXPECT_NE(std::string::npos, SettingsText().find("3=6\n4=7\n"));
  EXPECT_NE(std::string::npos, SettingsText().find("3=10\n4=11\n"));
  EXPECT_NE(before, SettingsText());
}

TEST_F(SettingsTest, SavingPointerSettingsNeverWritesResolutions) {
  PointerSettings pointer = DefaultPointerSettings();
  ASSERT_TRUE(SavePointerSettings(pointer, 10, 0));
  EXPECT_EQ(u"<missing>", Read(u"Hardware", u"Resolutions"));
  EXPECT_EQ(u"2000", Read(u"Hardware", u"ReportRate"));
  EXPECT_EQ(u"15", Read(u"ResolutionX", u"4"));
  EXPECT_EQ(u"<missing>", Read(u"ResolutionX", u"5"));
}

TEST_F(SettingsTest, RecordingOptionsSaveTheSixOptionKeys) {
  WriteSettings("[Recording]\nRecordingHotkey=40075\n");
  RecordingOptions rec;
  LoadRecordingOptions(rec);
  EXPECT_EQ(0x40075u, rec.RecordingHotkey);
  rec.RecordingMouse = 0;
  rec.RecordingDelay = 1;
  rec.DelayDefault = 1;  // read only
  ASSERT_TRUE(SaveRecordingOptions(rec));
  EXPECT_EQ(u"40075", Read(u"Recording", u"RecordingHotkey"));  // written back unchanged
  EXPECT_EQ(u"0", Read(u"Recording", u"RecordingMouse"));
  EXPECT_EQ(u"1", Read(u"Recording", u"RecordingKeyboard"));
  EXPECT_EQ(u"1", Read(u"Recording", u"RecordingDelay"));
  EXPECT_EQ(u"0", Read(u"Recording", u"RecordingMinimize"));
  EXPECT_EQ(u"0", Read(u"Recording", u"RecordingUseHotkey"));
  for (const char16_t* key : {u"DelayDefault", u"DelayMax", u"DelayMaxDigits"})
    EXPECT_EQ(u"<missing>", Read(u"Recording", key));

  rec.RecordingHotkey = 0x4007B;
  ASSERT_TRUE(SaveRecordingOptions(rec));
  EXPECT_EQ(u"4007b", Read(u"Recording", u"RecordingHotkey"));  // lower-case, no prefix
}

TEST_F(SettingsTest, SavesReportFailureWhenTheFileCannotBeWritten) {
  SetAppFolder((folder_ / "missing").u16string());
  ButtonAssignment records[kMaxAssignments] = {};
  EXPECT_FALSE(SaveButtonAssignments(records, 7));
  EXPECT_FALSE(SavePointerSettings(DefaultPointerSettings(), 10, 1));
  EXPECT_FALSE(SaveRecordingOptions(RecordingOptions{}));
  EXPECT_FALSE(testing::fs::exists(folder_ / "missing"));
}

}  // namespace
}  // namespace corvane
