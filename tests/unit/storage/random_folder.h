// Random application folders for the properties of the configuration document: a Corvane.ini
// whose every key is missing, typical, at an edge of its field or anything at all, button
// records of any bytes, and macro lists of any names (unusable, repeated, missing) with macro
// files of any events. What the program can load from such a folder is what a backup must carry.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "model/records.h"
#include "model/text.h"
#include "storage/macro_name.h"
#include "storage/text_encoding.h"
#include "unit/storage/app_folder_fixture.h"

namespace corvane::testing {

class RandomFolder {
 public:
  explicit RandomFolder(uint32_t seed) : random_(seed) {}

  // Writes Corvane.ini and the macro files into folder (which holds an empty Macros folder).
  void Write(const fs::path& folder) {
    std::u16string ini;
    Section(ini, u"Application");
    Key(ini, u"LCID", AnyInt({0, 1031, 1041}));
    Key(ini, u"StartWithWindows", AnyInt({0, 1}));
    Key(ini, u"MinimizeToSystemTray", AnyInt({0, 1}));
    Key(ini, u"Demo", AnyInt({0, 1}));
    Section(ini, u"Hardware");
    Key(ini, u"VID", AnyHex({0x3a7c, 0x13a7c}));
    Key(ini, u"PID", AnyHex({7, 0xFFFF}));
    Key(ini, u"MemoryLength", AnyHex({0x1000}));
    const int buttons = Pick(4) ? 2 + Below(7) : Int32();
    Key(ini, u"Buttons", Pick(6) ? Decimal(buttons) : Missing());
    Key(ini, u"Delay", AnyInt({0, 16, 32}));
    Key(ini, u"TurboLo", AnyInt({0, 3, 255, 256}));
    Key(ini, u"Resolutions", AnyInt({1, 2, 4, 5, 6}));
    Key(ini, u"XequalY", AnyInt({0, 1}));
    Key(ini, u"ReportRate", AnyInt({1, 2, 4, 5, 8, 10, 20, 2000, 3}));
    Key(ini, u"PointerSpeed", AnyInt({1, 10, 20}));
    Key(ini, u"PointerAcceleration", AnyInt({0, 1}));
    for (const char16_t* axis : {u"ResolutionX", u"ResolutionY"}) {
      Section(ini, axis);
      for (int i = 1; i <= 6; ++i) Key(ini, Decimal(i), AnyInt({0, 1, 3, 7, 15, 16, -1}));
    }
    Section(ini, u"Buttons");
    Key(ini, u"UseComboBox", AnyInt({0, 1}));
    Key(ini, u"IntervalMin", AnyInt({66, 0, 100}));
    Key(ini, u"IntervalMax", AnyInt({99999, 50, 200}));
    Key(ini, u"IntervalMaxDigits", AnyInt({5, 0, 11}));
    names_.clear();
    const int macros = Pick(8) ? Below(6) : (Pick(2) ? 129 : Below(20));
    for (int i = 0; i < macros; ++i) names_.push_back(AnyName());
    for (int i = 1; i <= 9; ++i) Key(ini, Decimal(i), Pick(8) ? Record() : Missing());
    Section(ini, u"ButtonsDefault");
    for (int i = 1; i <= 9; ++i) Key(ini, Decimal(i), AnyInt({0, 1, 2, 12, 41, 254, 255, 256}));
    Section(ini, u"Recording");
    Key(ini, u"DelayDefault", AnyInt({128, 0, 0x1000000}));
    Key(ini, u"DelayMax", AnyInt({99999, 0, 0x1000000}));
    Key(ini, u"DelayMaxDigits", AnyInt({5, 0, 11}));
    for (const char16_t* flag : {u"RecordingMouse", u"RecordingKeyboard", u"RecordingDelay",
                                 u"RecordingMinimize", u"RecordingUseHotkey"}) {
      Key(ini, flag, AnyInt({0, 1}));
    }
    Key(ini, u"RecordingHotkey", AnyHex({0x40075, 0}));
    Section(ini, u"Macros");
    Key(ini, u"Numbers", Pick(8) ? Decimal(macros) : Missing());
    for (int i = 0; i < macros; ++i) {
      if (Pick(12)) Key(ini, Decimal(i + 1), names_[static_cast<size_t>(i)]);
    }
    // Lone surrogates only reach a name through a UTF-16 file.
    const bool utf16 = Pick(5) == 0;
    WriteBytes(folder / "Corvane.ini", utf16 ? Utf16LeWithBom(ini) : text::Utf16ToUtf8(ini));
    for (const std::u16string& name : names_) {
      // Only names that key a file: a device name would open the device itself.
      if (!IsValidMacroName(name) || !Pick(6)) continue;
      std::ofstream file(folder / "Macros" / fs::path(name + u".ini"), std::ios::binary);
      if (file) file << Events();
    }
  }

 private:
  bool Pick(int oneIn) { return Below(oneIn) != 0; }  // true but one time in oneIn
  int Below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
  int32_t Int32() { return static_cast<int32_t>(random_()); }

  static std::u16string Decimal(int64_t v) { return text::Utf8ToUtf16(std::to_string(v)); }
  static std::u16string Missing() { return {}; }

  // A typical value, an edge of the field, any 32 bits, or a text the reader must cope with.
  std::u16string AnyInt(std::initializer_list<int64_t> typical) {
    switch (Below(10)) {
      case 0: return Missing();
      case 1: return Decimal(Pick(2) ? INT32_MIN : INT32_MAX);
      case 2: return Decimal(Int32());
      case 3: return Pick(2) ? u"-1" : u"x7";
      case 4: return Decimal(static_cast<int64_t>(Int32()) % 300);
      default: return Decimal(typical.begin()[Below(static_cast<int>(typical.size()))]);
    }
  }
  std::u16string AnyHex(std::initializer_list<uint32_t> typical) {
    static const char kDigits[] = "0123456789abcdef";
    auto hex = [](uint64_t v) {
      std::u16string s;
      do {
        s.insert(s.begin(), static_cast<char16_t>(kDigits[v & 15]));
        v >>= 4;
      } while (v);
      return s;
    };
    switch (Below(8)) {
      case 0: return Missing();
      case 1: return hex(static_cast<uint32_t>(random_()));
      case 2: return hex((static_cast<uint64_t>(random_()) << 20) | random_());  // > 8 digits
      case 3: return u"zz";
      default: return hex(typical.begin()[Below(static_cast<int>(typical.size()))]);
    }
  }

  std::u16string AnyName() {
    switch (Below(10)) {
      case 0: return u"Fi/re";                          // cannot name a file
      case 1: return u"CON";                            // a device name
      case 2: return names_.empty() ? u"" : names_[0];  // the same name twice
      case 3: return names_.empty() ? u"x" : u"FIRE";   // the same name in other case
      case 4: return std::u16string(70, u'n');          // cut to 63
      case 5: return std::u16string(u"half ") + static_cast<char16_t>(0xD800);
      case 6: return u"";
      default: return u"Macro " + Decimal(Below(1000)) + (Pick(2) ? u"" : u" Сохранить");
    }
  }

  // A 280-byte record: mostly well formed, with any function, hot key, name, mode and interval.
  std::u16string Record() {
    ButtonAssignment a;
    for (size_t i = 0; i < sizeof a; ++i)
      reinterpret_cast<uint8_t*>(&a)[i] = static_cast<uint8_t>(random_());
    const int32_t functions[] = {0, 1, 12, 33, 40, 41, 253, 254, 255, 256, -1};
    if (Pick(4)) a.FunctionCode = functions[Below(11)];
    if (Pick(3)) a.HotKeyVk = static_cast<uint16_t>(Below(256));
    if (Pick(3)) a.HotKeyModifiers = static_cast<uint16_t>(Below(128));
    if (Pick(5)) {
      const std::u16string name =
          names_.empty() || !Pick(3)
              ? AnyName()
              : names_[static_cast<size_t>(Below(static_cast<int>(names_.size())))];
      std::memset(a.MacroName, 0xA5, sizeof a.MacroName);  // stale units after the name
      CopyName(a.MacroName, name);
      if (Pick(2)) a.MacroName[name.size() + 1] = u'z';
    }
    if (Pick(3)) a.ExecutionMode = Below(3);
    if (Pick(3)) a.ExecutionInterval = static_cast<uint32_t>(Below(200000));
    std::string text = StructText(&a, sizeof a);
    if (!Pick(10)) text.back() = text.back() == '0' ? '1' : '0';  // a bad sum
    return text::Utf8ToUtf16(text);
  }

  std::string Events() {
    std::string file = "[Events]\r\n";
    const int count = Pick(10) ? Below(12) : (Pick(2) ? 512 : 600);
    file += "Numbers=" + std::to_string(Pick(10) ? count : Int32()) + "\r\n";
    const int32_t kinds[] = {256, 257, 260, 261, 513, 514, 515, 516, 517, 518,
                             519, 520, 521, 522, 523, 524, 525, 526, 1280};
    for (int i = 1; i <= count; ++i) {
      int32_t message = Pick(8) ? kinds[Below(19)] : Int32();
      int32_t data = Pick(2) ? Below(256) : Int32();
      if (message == 1280 && !Pick(3)) data = 0x1000000 + Below(1000);
      std::string value = EventText(message, data);
      if (!Pick(30)) value[3] = 'G';  // does not read
      file += std::to_string(i) + "=" + value + "\r\n";
    }
    return file;
  }

  void Section(std::u16string& ini, std::u16string_view name) {
    ini += u"[" + std::u16string(name) + u"]\r\n";
  }
  void Key(std::u16string& ini, std::u16string_view key, const std::u16string& value) {
    if (!value.empty()) ini += std::u16string(key) + u"=" + value + u"\r\n";
  }
  std::mt19937 random_;
  std::vector<std::u16string> names_;
};

}  // namespace corvane::testing
