#include "storage/macro_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app_folder_fixture.h"
#include "model/text.h"
#include "storage/profile.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

using testing::EventText;
using testing::NewLibrary;
using testing::ReadBytes;
using testing::Utf16LeWithBom;
using testing::WriteBytes;
using testing::fs::exists;

std::u16string Dec(int i) {
  const std::string s = std::to_string(i);
  return std::u16string(s.begin(), s.end());
}
std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// "[Events]" with Numbers = numbers and keys 1..keys holding {256, base + i}.
std::string EventsText(const std::string& numbers, int keys, int base = 0) {
  std::string text = "[Events]\r\nNumbers=" + numbers + "\r\n";
  for (int i = 1; i <= keys; ++i)
    text += std::to_string(i) + "=" + EventText(kMsgKeyDown, base + i) + "\r\n";
  return text;
}

class MacroStoreTest : public testing::AppFolderTest {
 protected:
  void SetNames(const std::vector<std::u16string>& names) {
    for (size_t i = 0; i < names.size(); ++i) CopyName(lib->Macros[i].Name, names[i]);
    lib->MacroCount = static_cast<int32_t>(names.size());
  }
  std::u16string Name(int i) const { return std::u16string(NameView(lib->Macros[i].Name)); }
  // Key of a profile file, "<missing>" when absent.
  static std::u16string Key(const testing::fs::path& file, std::u16string_view section,
                            std::u16string_view key) {
    return profile::ReadString(file.u16string(), section, key, u"<missing>");
  }
  void WriteMacro(const std::u16string& name, const std::string& text) {
    WriteBytes(MacroFile(name), text);
  }
  std::string MacroText(const std::u16string& name) const { return ReadBytes(MacroFile(name)); }
  testing::fs::path Exchange(const std::u16string& file) {
    testing::fs::create_directories(folder_ / "exchange");
    return folder_ / "exchange" / testing::fs::path(file);
  }

  std::unique_ptr<MacroLibrary> lib = NewLibrary();
};

TEST_F(MacroStoreTest, LoadsNamesAndTheEventsOfEachMacro) {
  WriteSettings("[Macros]\r\nNumbers=3\r\n1=Fire\r\n3=Ice\r\n");
  WriteMacro(u"Fire", EventsText("2", 2, 64));
  std::memset(lib.get(), 0x5A, sizeof *lib);  // what an earlier run left in memory
  LoadMacroLibrary(*lib);
  ASSERT_EQ(3, lib->MacroCount);
  EXPECT_EQ(u"Fire", Name(0));
  EXPECT_EQ(u"", Name(1));  // missing key: the empty name
  EXPECT_EQ(u"Ice", Name(2));
  EXPECT_EQ(2, lib->Macros[0].EventCount);
  EXPECT_EQ(kMsgKeyDown, lib->Macros[0].Events[1].Message);
  EXPECT_EQ(66, lib->Macros[0].Events[1].Data);
  EXPECT_EQ(0, lib->Macros[0].Events[2].Message);  // cleared before loading
  EXPECT_EQ(0, lib->Macros[1].EventCount);
  EXPECT_EQ(0, lib->Macros[2].EventCount);  // no file: no events
  for (int i = 0; i < kMaxMacros; ++i) EXPECT_EQ(0, lib->Macros[i].Modified);
  EXPECT_EQ(u"", Name(3));
  EXPECT_FALSE(exists(MacroFile(u""))) << "loading creates no file";
}

TEST_F(MacroStoreTest, CountsAreHeldToTheLibraryAndTheMacro) {
  struct Case {
    std::string numbers;
    int keys;
    int names;   // loaded from the name list
    int events;  // loaded from a macro file
  } cases[] = {
      {"3", 3, 3, 3},         {"0", 2, 0, 0},         {"-3", 2, 0, 0},
      {"abc", 2, 0, 0},       {"200", 200, 128, 200}, {"600", 600, 128, 512},
      {"128", 128, 128, 128}, {"512", 512, 128, 512}, {"513", 513, 128, 512},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.numbers);
    std::string names = "[Macros]\nNumbers=" + c.numbers + "\n";
    for (int i = 1; i <= c.keys; ++i) names += std::to_string(i) + "=M" + std::to_string(i) + "\n";
    WriteSettings(names);
    std::memset(lib.get(), 0, sizeof *lib);
    EXPECT_EQ(c.names, LoadMacroNames(*lib));
    EXPECT_EQ(0, lib->MacroCount) << "the caller stores the count";
    if (c.names > 0) {
      EXPECT_EQ(u"M" + Dec(c.names), Name(c.names - 1));
    }

    WriteMacro(u"M", EventsText(c.numbers, c.keys));
    Macro& m = lib->Macros[0];
    CopyName(m.Name, u"M");
    m.Events[0] = {7, 7};
    LoadMacroEvents(m);
    EXPECT_EQ(c.events, m.EventCount);
    if (c.events > 0) {
      EXPECT_EQ(c.events, m.Events[c.events - 1].Data);
    } else {
      EXPECT_EQ(7, m.Events[0].Data) << "no event is read";
    }
  }
}

TEST_F(MacroStoreTest, NamesLongerThan63UnitsAreCut) {
  WriteSettings("[Macros]\nNumbers=1\n1=" + std::string(70, 'n') + "\n");
  ASSERT_EQ(1, LoadMacroNames(*lib));
  EXPECT_EQ(std::u16string(63, u'n'), Name(0));
}

TEST_F(MacroStoreTest, AnEventThatFailsToReadKeepsWhatItHeld) {
  WriteMacro(u"M", "[Events]\nNumbers=3\n1=" + EventText(256, 1) +
                       "\n2=" + EventText(256, 2).substr(1) + "\n");
  Macro& m = lib->Macros[0];
  CopyName(m.Name, u"M");
  m.Events[1] = {513, 9};
  m.Events[2] = {514, 8};
  m.Modified = 1;
  LoadMacroEvents(m);
  EXPECT_EQ(3, m.EventCount);
  EXPECT_EQ(1, m.Events[0].Data);
  EXPECT_EQ(513, m.Events[1].Message);
  EXPECT_EQ(514, m.Events[2].Message);
  EXPECT_EQ(1, m.Modified) << "loading does not change Modified";
}

// The library is read in one pass over each file's [Events] section; every file below must load
// exactly as a lookup of each key 1..Numbers through the profile engine reads it.
TEST_F(MacroStoreTest, LoadingReadsEachEventAsItsKeyLookupDoes) {
  const std::string a = EventText(kMsgKeyDown, 1);
  const std::string b = EventText(kMsgKeyUp, 2);
  const std::string c = EventText(kMsgDelay, 3);
  const std::string broken = EventText(kMsgKeyDown, 4).substr(1);
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"keys out of order", "[Events]\nNumbers=3\n3=" + c + "\n1=" + a + "\n2=" + b + "\n"},
      {"a later duplicate is not read", "[Events]\nNumbers=1\n1=" + a + "\n1=" + b + "\n"},
      {"a broken first of a name hides a good duplicate",
       "[Events]\nNumbers=1\n1=" + broken + "\n1=" + a + "\n"},
      {"blanks around names, quotes kept",
       "[Events]\nNumbers=3\n  1 =" + a + "\n2\t= " + b + "\n3=\"" + c + "\"\n"},
      {"other spellings of a number are other keys",
       "[Events]\nNumbers=3\n01=" + a + "\n+2=" + b + "\n3.=" + c + "\n０=" + a + "\n"},
      {"keys past Numbers are not read", "[Events]\nNumbers=1\n1=" + a + "\n2=" + b + "\n"},
      {"only the first section of the name",
       "[events]\nNumbers=2\n1=" + a + "\n[Other]\n2=" + b + "\n[EVENTS]\n2=" + c + "\n"},
      {"keys before any section", "2=" + b + "\n[Events]\nNumbers=2\n1=" + a + "\n"},
      {"no section", "Numbers=1\n1=" + a + "\n"},
      {"a long name of digits", "[Events]\nNumbers=2\n00001=" + a + "\n1000000002=" + b + "\n"},
      {"Numbers after the events", "[Events]\n1=" + a + "\n2=" + b + "\nNumbers=2\n"},
      {"the first Numbers counts",
       "[Events]\n numbers =\"1\"\n1=" + a + "\n2=" + b + "\nNUMBERS=2\n"},
      {"an empty or wrong Numbers", "[Events]\nNumbers=\n1=" + a + "\n[Other]\nNumbers=x\n"},
      {"Numbers past the limit", "[Events]\nNumbers=0x7fffffff\n512=" + a + "\n513=" + b + "\n"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    for (const bool utf16 : {false, true}) {
      const std::string bytes = utf16 ? Utf16LeWithBom(text::Utf8ToUtf16(k.text)) : k.text;
      WriteMacro(u"M", bytes);
      const profile::Document doc = profile::Document::Parse(bytes);
      Macro want{};
      CopyName(want.Name, u"M");
      want.EventCount = std::clamp(doc.GetInt(u"Events", u"Numbers", 0), 0, kMaxEvents);
      for (int i = 0; i < kMaxEvents; ++i) want.Events[i] = {9, 9};
      for (int i = 0; i < want.EventCount; ++i)
        doc.GetStruct(u"Events", Dec(i + 1), &want.Events[i], sizeof want.Events[i]);

      Macro got{};
      CopyName(got.Name, u"M");
      for (int i = 0; i < kMaxEvents; ++i) got.Events[i] = {9, 9};
      LoadMacroEvents(got);
      EXPECT_EQ(want.EventCount, got.EventCount) << (utf16 ? "UTF-16" : "UTF-8");
      EXPECT_EQ(0, std::memcmp(want.Events, got.Events, sizeof want.Events))
          << (utf16 ? "UTF-16" : "UTF-8");
    }
  }
}

TEST_F(MacroStoreTest, SavesEventsAsEighteenDigitsAndKeepsHigherKeys) {
  Macro& m = lib->Macros[0];
  CopyName(m.Name, u"Fire");
  m.Events[0] = {kMsgKeyDown, 0x41};
  m.EventCount = 1;
  m.Modified = 1;
  ASSERT_TRUE(SaveMacroEvents(m));
  EXPECT_EQ(0, m.Modified);
  EXPECT_EQ(u"000100004100000042", Key(MacroFile(u"Fire"), u"Events", u"1"));  // key-down A

  for (int i = 0; i < 10; ++i) m.Events[i] = {kMsgDelay, 100 + i};
  m.EventCount = 10;
  ASSERT_TRUE(SaveMacroEvents(m));
  for (int i = 0; i < 3; ++i) m.Events[i] = {kMsgKeyUp, i};
  m.EventCount = 3;
  ASSERT_TRUE(SaveMacroEvents(m));
  const testing::fs::path file = MacroFile(u"Fire");
  EXPECT_EQ(u"3", Key(file, u"Events", u"Numbers"));
  for (int i = 1; i <= 10; ++i) {
    const std::string want = i <= 3 ? EventText(kMsgKeyUp, i - 1) : EventText(kMsgDelay, 99 + i);
    EXPECT_EQ(Wide(want), Key(file, u"Events", Dec(i))) << i;
  }
  EXPECT_EQ(std::u16string(u"<missing>"), Key(file, u"Events", u"11"));

  Macro loaded;
  CopyName(loaded.Name, u"Fire");
  LoadMacroEvents(loaded);
  EXPECT_EQ(3, loaded.EventCount);
}

TEST_F(MacroStoreTest, RenameMovesTheStoredEvents) {
  SetNames({u"Fire", u"Ice"});
  WriteMacro(u"Fire", EventsText("2", 2));
  const std::string fire = MacroText(u"Fire");
  EXPECT_TRUE(RenameMacro(*lib, 0, u"Blaze"));
  EXPECT_EQ(u"Blaze", Name(0));
  EXPECT_FALSE(exists(MacroFile(u"Fire")));
  EXPECT_EQ(fire, MacroText(u"Blaze"));

  // A longer name is cut to 63 units.
  EXPECT_TRUE(RenameMacro(*lib, 0, std::u16string(70, u'b')));
  EXPECT_EQ(std::u16string(63, u'b'), Name(0));
  EXPECT_TRUE(exists(MacroFile(std::u16string(63, u'b'))));
  EXPECT_TRUE(RenameMacro(*lib, 0, u"Blaze"));

  // A change of case of the macro's own name is no clash.
  EXPECT_TRUE(RenameMacro(*lib, 0, u"BLAZE"));
  EXPECT_EQ(u"BLAZE", Name(0));
  std::vector<std::u16string> files;
  for (const auto& entry : testing::fs::directory_iterator(folder_ / "Macros"))
    files.push_back(entry.path().filename().u16string());
  EXPECT_EQ(std::vector<std::u16string>{u"BLAZE.ini"}, files) << "the file takes the new case";
  LoadMacroEvents(lib->Macros[0]);
  EXPECT_EQ(2, lib->Macros[0].EventCount);
}

TEST_F(MacroStoreTest, RenameOntoAnotherMacrosNameIsRefused) {
  SetNames({u"Fire", u"Ice", u"Сохранить"});
  WriteMacro(u"Fire", EventsText("1", 1, 1));
  WriteMacro(u"Ice", EventsText("1", 1, 2));
  const std::string fire = MacroText(u"Fire");
  const std::string ice = MacroText(u"Ice");
  for (std::u16string_view clash : {u"Ice", u"ICE", u"ice", u"сохранить"}) {
    EXPECT_FALSE(RenameMacro(*lib, 0, clash));
    EXPECT_EQ(u"Fire", Name(0));
  }
  EXPECT_EQ(fire, MacroText(u"Fire"));
  EXPECT_EQ(ice, MacroText(u"Ice"));
  EXPECT_FALSE(RenameMacro(*lib, 0, u"Ice" + std::u16string(60, u' ') + u"x"))
      << "cut to 63 units it is Ice and 60 spaces: not a valid name";
  EXPECT_EQ(u"Fire", Name(0));
  EXPECT_FALSE(RenameMacro(*lib, 3, u"Other")) << "no such entry";
  EXPECT_FALSE(RenameMacro(*lib, -1, u"Other"));
}

TEST_F(MacroStoreTest, RenameWithAMissingFileTakesTheNameAnyway) {
  SetNames({u"Ghost"});
  EXPECT_FALSE(RenameMacro(*lib, 0, u"Spirit"));
  EXPECT_EQ(u"Spirit", Name(0));
  lib->Macros[0].EventCount = 1;
  ASSERT_TRUE(SaveMacroEvents(lib->Macros[0]));
  EXPECT_EQ(u"1", Key(MacroFile(u"Spirit"), u"Events", u"Numbers"));
  EXPECT_FALSE(exists(MacroFile(u"Ghost")));
}

TEST_F(MacroStoreTest, RenameOntoAFileNoMacroOwnsTakesTheNameButMovesNothing) {
  SetNames({u"Fire"});
  WriteMacro(u"Fire", EventsText("1", 1, 1));
  WriteMacro(u"Orphan", EventsText("2", 2, 5));
  const std::string orphan = MacroText(u"Orphan");
  EXPECT_FALSE(RenameMacro(*lib, 0, u"Orphan"));
  EXPECT_EQ(u"Orphan", Name(0));
  EXPECT_EQ(orphan, MacroText(u"Orphan"));
  EXPECT_TRUE(exists(MacroFile(u"Fire")));
}

TEST_F(MacroStoreTest, RenamingOneOfTwoMacrosSharingANameCopiesTheFile) {
  // An older name list may hold one name twice; both entries read one file.
  SetNames({u"Twin", u"Twin"});
  WriteMacro(u"Twin", EventsText("2", 2));
  const std::string twin = MacroText(u"Twin");
  EXPECT_TRUE(RenameMacro(*lib, 1, u"Solo"));
  EXPECT_EQ(twin, MacroText(u"Twin"));
  EXPECT_EQ(twin, MacroText(u"Solo"));
  // Removing one of two entries that share a name keeps the file the other reads.
  CopyName(lib->Macros[1].Name, u"Twin");
  EXPECT_TRUE(RemoveMacro(*lib, 0));
  EXPECT_EQ(twin, MacroText(u"Twin"));
  EXPECT_TRUE(RemoveMacro(*lib, 0));
  EXPECT_FALSE(exists(MacroFile(u"Twin")));
}

TEST_F(MacroStoreTest, RemovingEntry5Of9MovesTheLaterEntriesDown) {
  std::vector<std::u16string> names;
  for (int i = 0; i < 9; ++i) names.push_back(u"M" + Dec(i));
  SetNames(names);
  for (int i = 0; i < 9; ++i) {
    lib->Macros[i].EventCount = i;
    ASSERT_TRUE(SaveMacroEvents(lib->Macros[i]));
  }
  ASSERT_TRUE(SaveMacroNames(*lib, 9));
  ASSERT_TRUE(RemoveMacro(*lib, 5));
  EXPECT_EQ(8, lib->MacroCount);
  EXPECT_FALSE(exists(MacroFile(u"M5")));
  for (int i = 0; i < 8; ++i) {
    const int was = i < 5 ? i : i + 1;
    EXPECT_EQ(u"M" + Dec(was), Name(i));
    EXPECT_EQ(was, lib->Macros[i].EventCount);
    EXPECT_TRUE(exists(MacroFile(Name(i))));
  }
  EXPECT_EQ(u"", Name(8));
  EXPECT_EQ(0, lib->Macros[8].EventCount);
  ASSERT_TRUE(SaveMacroNames(*lib, lib->MacroCount));
  EXPECT_EQ(u"8", Key(Settings(), u"Macros", u"Numbers"));
  EXPECT_EQ(u"M8", Key(Settings(), u"Macros", u"8"));
  EXPECT_EQ(u"M8", Key(Settings(), u"Macros", u"9")) << "the old key stays, ignored";
  EXPECT_EQ(8, LoadMacroNames(*lib));

  EXPECT_FALSE(RemoveMacro(*lib, 8)) << "beyond MacroCount";
  EXPECT_FALSE(RemoveMacro(*lib, -1));
  EXPECT_EQ(8, lib->MacroCount);
}

TEST_F(MacroStoreTest, InvalidNamesNeverReachTheFileSystem) {
  // Were the names used as paths, "../Corvane" and "..\Corvane" would be the settings file,
  // which here even carries an "Events" section.
  const std::string settings =
      "[Macros]\r\nNumbers=5\r\n1=../Corvane\r\n2=..\\Corvane\r\n3=CON\r\n4=\r\n5=a|b\r\n" +
      EventsText("2", 2);
  WriteSettings(settings);
  WriteMacro(u"", EventsText("1", 1));  // Macros/.ini, the file of the empty name
  LoadMacroLibrary(*lib);
  ASSERT_EQ(5, lib->MacroCount);
  EXPECT_EQ(u"../Corvane", Name(0));
  EXPECT_EQ(u"..\\Corvane", Name(1));
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(0, lib->Macros[i].EventCount);
    lib->Macros[i].EventCount = 1;
    lib->Macros[i].Modified = 1;
    EXPECT_FALSE(SaveMacroEvents(lib->Macros[i]));
    EXPECT_EQ(1, lib->Macros[i].Modified);
    EXPECT_FALSE(DeleteMacroFile(Name(i)));
  }
  EXPECT_FALSE(RenameMacro(*lib, 3, u"..\\Corvane"));
  EXPECT_FALSE(RenameMacro(*lib, 3, u"NUL"));
  EXPECT_FALSE(RenameMacro(*lib, 0, u"x."));
  EXPECT_EQ(u"../Corvane", Name(0));
  EXPECT_TRUE(RemoveMacro(*lib, 0));
  EXPECT_EQ(settings, SettingsText());
  EXPECT_TRUE(exists(MacroFile(u"")));
  // An entry with an invalid name may still take a valid one; nothing is moved.
  EXPECT_FALSE(RenameMacro(*lib, 0, u"Good"));
  EXPECT_EQ(u"Good", Name(0));
  EXPECT_EQ(settings, SettingsText());
}

TEST_F(MacroStoreTest, DeletingAMissingFileIsNoError) {
  EXPECT_TRUE(DeleteMacroFile(u"Nothing"));
  WriteMacro(u"Fire", EventsText("0", 0));
  EXPECT_TRUE(DeleteMacroFile(u"Fire"));
  EXPECT_FALSE(exists(MacroFile(u"Fire")));
}

TEST_F(MacroStoreTest, AFailedSaveKeepsTheMacroModified) {
  testing::fs::remove_all(folder_ / "Macros");
  Macro& m = lib->Macros[0];
  CopyName(m.Name, u"Fire");
  m.Modified = 1;
  EXPECT_FALSE(SaveMacroEvents(m));
  EXPECT_EQ(1, m.Modified);
  EXPECT_FALSE(exists(folder_ / "Macros")) << "the folder is never created";
  EXPECT_EQ(0, NewMacro(*lib)) << "New still adds the entry";
}

TEST_F(MacroStoreTest, NewMacrosTakeTheFirstFreeName) {
  EXPECT_EQ(0, NewMacro(*lib));
  EXPECT_EQ(1, NewMacro(*lib));
  EXPECT_EQ(2, lib->MacroCount);
  EXPECT_EQ(u"New Macro", Name(0));
  EXPECT_EQ(u"New Macro (2)", Name(1));
  EXPECT_EQ(u"0", Key(MacroFile(u"New Macro (2)"), u"Events", u"Numbers"));
  ASSERT_TRUE(RenameMacro(*lib, 0, u"Fire"));
  EXPECT_EQ(2, NewMacro(*lib));
  EXPECT_EQ(u"New Macro", Name(2));
  EXPECT_EQ(u"Fire", Name(0));

  lib->MacroCount = kMaxMacros;
  EXPECT_EQ(-1, NewMacro(*lib));
  EXPECT_EQ(kMaxMacros, lib->MacroCount);
}

TEST_F(MacroStoreTest, ImportingFireMcrAddsFireWithAnEmptyPerMacroFile) {
  const testing::fs::path source = Exchange(u"Fire.mcr");
  WriteBytes(source, EventsText("3", 3, 10));
  SetNames({u"Ice"});
  lib->Macros[1].Modified = 1;  // stale content of the free entry
  EXPECT_EQ(1, ImportMacroFile(*lib, source.u16string()));
  EXPECT_EQ(2, lib->MacroCount);
  EXPECT_EQ(u"Fire", Name(1));
  EXPECT_EQ(3, lib->Macros[1].EventCount);
  EXPECT_EQ(13, lib->Macros[1].Events[2].Data);
  EXPECT_EQ(0, lib->Macros[1].Modified);
  EXPECT_EQ(u"0", Key(MacroFile(u"Fire"), u"Events", u"Numbers"));
  EXPECT_FALSE(exists(Settings())) << "the name list is not written";
}

TEST_F(MacroStoreTest, ImportsTheShippedExchangeFile) {
  const std::string fixture = CORVANE_FIXTURES_DIR "/storage/Fire.mcr";
  const std::string before = ReadBytes(fixture);
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(0, ImportMacroFile(*lib, Wide(fixture)));
  EXPECT_EQ(u"Fire", Name(0));
  const Macro& m = lib->Macros[0];
  ASSERT_EQ(5, m.EventCount);
  const MacroEvent want[] = {{kMsgKeyDown, 'A'},
                             {kMsgDelay, 50},
                             {kMsgKeyUp, 'A'},
                             {kMsgLButtonDown, 0},
                             {kMsgLButtonUp, 0}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(want[i].Message, m.Events[i].Message);
    EXPECT_EQ(want[i].Data, m.Events[i].Data);
  }
  EXPECT_EQ(before, ReadBytes(fixture)) << "the exchange file is only read";
}

TEST_F(MacroStoreTest, ImportReadsWhatTheExchangeFileHolds) {
  struct Case {
    std::u16string file;
    std::string text;  // empty: no file
    std::u16string name;
    int events;
  } cases[] = {
      {u"Other.mcr", "[Info]\nNumbers=4\n1=" + EventText(256, 1) + "\n", u"Other", 0},
      {u"Missing.mcr", "", u"Missing", 0},
      {u"Many.mcr", EventsText("700", 600), u"Many", 512},
#ifndef _WIN32  // on Windows no file can carry a device name
      {u"CON.mcr", EventsText("1", 1), u"CON (2)", 1},
#endif
      {std::u16string(80, u'L') + u".mcr", EventsText("1", 1), std::u16string(63, u'L'), 1},
      {u".mcr", EventsText("1", 1), u"New Macro", 1},
      {u"宏 1.mcr", EventsText("2", 2), u"宏 1", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::fs::path(c.file).string());
    const testing::fs::path source = Exchange(c.file);
    if (!c.text.empty()) WriteBytes(source, c.text);
    const int index = ImportMacroFile(*lib, source.u16string());
    ASSERT_EQ(lib->MacroCount - 1, index);
    EXPECT_EQ(c.name, Name(index));
    EXPECT_EQ(c.events, lib->Macros[index].EventCount);
    EXPECT_TRUE(exists(MacroFile(c.name)));
  }
}

TEST_F(MacroStoreTest, ImportNeverOverwritesAnotherMacrosEvents) {
  SetNames({u"Fire"});
  WriteMacro(u"Fire", EventsText("5", 5));
  const std::string fire = MacroText(u"Fire");
  const testing::fs::path source = Exchange(u"fire.mcr");
  WriteBytes(source, EventsText("2", 2));
  EXPECT_EQ(1, ImportMacroFile(*lib, source.u16string()));
  EXPECT_EQ(u"fire (2)", Name(1));
  EXPECT_EQ(2, lib->Macros[1].EventCount);
  EXPECT_EQ(fire, MacroText(u"Fire"));
  EXPECT_EQ(2, ImportMacroFile(*lib, source.u16string()));
  EXPECT_EQ(u"fire (3)", Name(2));

  lib->MacroCount = kMaxMacros;
  EXPECT_EQ(-1, ImportMacroFile(*lib, source.u16string()));
  EXPECT_EQ(kMaxMacros, lib->MacroCount);
}

TEST_F(MacroStoreTest, ImportingAPerMacroFileItselfKeepsItsEvents) {
  WriteMacro(u"Orphan", EventsText("2", 2));
  const std::string orphan = MacroText(u"Orphan");
  EXPECT_EQ(0, ImportMacroFile(*lib, MacroFile(u"Orphan").u16string()));
  EXPECT_EQ(u"Orphan", Name(0));
  EXPECT_EQ(2, lib->Macros[0].EventCount);
  EXPECT_EQ(orphan, MacroText(u"Orphan"));
}

// Another spelling of a macro's own file is still that file: importing it must not empty it
// first, and exporting another macro onto it must not replace its events.
class MacroFileSpellingTest : public MacroStoreTest,
                              public ::testing::WithParamInterface<const char*> {
 protected:
  // The per-macro file of name, spelled as the case says.
  std::u16string Spelled(const std::u16string& name) {
    const std::string how = GetParam();
    const testing::fs::path file = MacroFile(name);
    if (how == std::string("dot")) return (folder_ / "Macros" / "." / file.filename()).u16string();
    if (how == std::string("dotdot")) {
      return (folder_ / "Macros" / ".." / "Macros" / file.filename()).u16string();
    }
    if (how == std::string("relative")) {
      testing::fs::current_path(folder_);
      return (testing::fs::path("Macros") / file.filename()).u16string();
    }
    // A symbolic link elsewhere, named like the macro so an import takes the same name.
    const testing::fs::path link = Exchange(name + u".mcr");
    testing::fs::create_symlink(file, link);
    return link.u16string();
  }
  void TearDown() override {
    testing::fs::current_path(testing::fs::temp_directory_path());
    MacroStoreTest::TearDown();
  }
};

TEST_P(MacroFileSpellingTest, ImportOfAnOrphanKeepsItsEvents) {
  WriteMacro(u"Orphan", EventsText("2", 2));
  const std::string orphan = MacroText(u"Orphan");
  EXPECT_EQ(0, ImportMacroFile(*lib, Spelled(u"Orphan")));
  EXPECT_EQ(u"Orphan", Name(0));
  EXPECT_EQ(2, lib->Macros[0].EventCount);
  EXPECT_EQ(orphan, MacroText(u"Orphan"));
}

TEST_P(MacroFileSpellingTest, ExportOntoAnotherMacrosFileIsRefused) {
  SetNames({u"Fire", u"Jump"});
  WriteMacro(u"Fire", EventsText("3", 3));
  LoadMacroEvents(lib->Macros[0]);
  const std::string fire = MacroText(u"Fire");
  EXPECT_FALSE(ExportMacroFile(*lib, 1, Spelled(u"Fire")));
  EXPECT_EQ(fire, MacroText(u"Fire"));
  // Its own file is its own to write, and writing it is a save.
  lib->Macros[0].Modified = 1;
  EXPECT_TRUE(ExportMacroFile(*lib, 0, MacroFile(u"Fire").u16string()));
  EXPECT_EQ(fire, MacroText(u"Fire"));
  EXPECT_EQ(0, lib->Macros[0].Modified);
}

#ifdef _WIN32
// Symbolic links need a privilege on Windows; the other spellings cover the comparison there.
INSTANTIATE_TEST_SUITE_P(Spellings, MacroFileSpellingTest,
                         ::testing::Values("dot", "dotdot", "relative"));
#else
INSTANTIATE_TEST_SUITE_P(Spellings, MacroFileSpellingTest,
                         ::testing::Values("dot", "dotdot", "relative", "link"));
#endif

TEST_F(MacroStoreTest, ExportKeepsTheOtherSectionsOfAnExistingFile) {
  const testing::fs::path target = Exchange(u"Out.mcr");
  WriteBytes(target, "[Info]\r\nAuthor=me\r\n" + EventsText("9", 9) + "[Tail]\r\nx=1\r\n");
  Macro& m = lib->Macros[0];
  CopyName(m.Name, u"Fire");
  m.Events[0] = {kMsgDelay, 5};
  m.Events[1] = {kMsgLButtonDown, 0};
  m.EventCount = 2;
  m.Modified = 1;
  lib->MacroCount = 1;
  ASSERT_TRUE(ExportMacroFile(*lib, 0, target.u16string()));
  EXPECT_EQ(1, m.Modified) << "the edits are still unsaved";
  EXPECT_FALSE(exists(MacroFile(u"Fire"))) << "the macro's own file is not written";
  EXPECT_EQ(u"me", Key(target, u"Info", u"Author"));
  EXPECT_EQ(u"1", Key(target, u"Tail", u"x"));
  EXPECT_EQ(u"2", Key(target, u"Events", u"Numbers"));
  EXPECT_EQ(Wide(EventText(kMsgDelay, 5)), Key(target, u"Events", u"1"));
  EXPECT_EQ(Wide(EventText(kMsgKeyDown, 9)), Key(target, u"Events", u"9"));

  Macro back;
  std::memset(&back, 0, sizeof back);
  const std::u16string path = target.u16string();
  LoadMacroEvents(back, &path);
  EXPECT_EQ(2, back.EventCount);
  EXPECT_EQ(kMsgLButtonDown, back.Events[1].Message);
}

// Non-ASCII names through the name list and their own files, in both encodings the program
// writes back as it found them.
class MacroStoreEncodingTest : public MacroStoreTest, public ::testing::WithParamInterface<bool> {
 protected:
  std::string Encode(const std::u16string& text) const {
    if (GetParam()) return Utf16LeWithBom(text);
    std::string utf8 = testing::fs::path(text).u8string();
    return utf8;
  }
};

TEST_P(MacroStoreEncodingTest, UnicodeNamesRoundTrip) {
  const std::u16string save = u"Сохранить";
  const std::u16string hong = u"宏 1";
  WriteBytes(Settings(),
             Encode(u"[Macros]\r\nNumbers=2\r\n1=" + save + u"\r\n2=" + hong + u"\r\n"));
  WriteBytes(MacroFile(save), Encode(Wide(EventsText("2", 2))));
  WriteBytes(MacroFile(hong), Encode(Wide(EventsText("3", 3))));
  LoadMacroLibrary(*lib);
  ASSERT_EQ(2, lib->MacroCount);
  EXPECT_EQ(save, Name(0));
  EXPECT_EQ(hong, Name(1));
  EXPECT_EQ(2, lib->Macros[0].EventCount);
  EXPECT_EQ(3, lib->Macros[1].EventCount);

  lib->Macros[1].EventCount = 1;
  ASSERT_TRUE(SaveMacroEvents(lib->Macros[1]));
  ASSERT_TRUE(RenameMacro(*lib, 0, u"Ёлка"));
  ASSERT_TRUE(SaveMacroNames(*lib, 2));
  const std::string bom = "\xFF\xFE";
  EXPECT_EQ(GetParam(), SettingsText().compare(0, 2, bom) == 0);
  EXPECT_EQ(GetParam(), MacroText(hong).compare(0, 2, bom) == 0);

  LoadMacroLibrary(*lib);
  ASSERT_EQ(2, lib->MacroCount);
  EXPECT_EQ(u"Ёлка", Name(0));
  EXPECT_EQ(hong, Name(1));
  EXPECT_EQ(2, lib->Macros[0].EventCount);
  EXPECT_EQ(1, lib->Macros[1].EventCount);
  EXPECT_FALSE(exists(MacroFile(save)));
}

INSTANTIATE_TEST_SUITE_P(Utf8AndUtf16, MacroStoreEncodingTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Utf16Le" : "Utf8";
                         });

}  // namespace
}  // namespace corvane
