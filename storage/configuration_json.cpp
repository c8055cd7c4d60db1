#include "storage/configuration_json.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>

#include <nlohmann/json.hpp>

#include "model/function_names.h"
#include "model/macro_links.h"
#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/key_names.h"
#include "storage/macro_name.h"
#include "storage/macro_store.h"
#include "storage/profile.h"
#include "storage/strings.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

// Keys keep the order they are written in, so the document reads in schema order.
using Json = nlohmann::ordered_json;

std::string Utf8(std::u16string_view text) { return text::Utf16ToUtf8(text); }
std::string Utf8(uint32_t stringId) { return Utf8(BuiltinString(stringId)); }

// ---- names the document uses ----

// Event kinds by the name a document gives them. Key events carry a key name, the others their
// Data as a number.
struct EventKind {
  int32_t Message;
  const char* Name;
  bool Key;
};
constexpr EventKind kEventKinds[] = {
    {kMsgKeyDown, "key down", true},
    {kMsgKeyUp, "key up", true},
    {kMsgSysKeyDown, "system key down", true},
    {kMsgSysKeyUp, "system key up", true},
    {kMsgLButtonDown, "left button down", false},
    {kMsgLButtonUp, "left button up", false},
    {kMsgLButtonDblClk, "left button double click", false},
    {kMsgRButtonDown, "right button down", false},
    {kMsgRButtonUp, "right button up", false},
    {kMsgRButtonDblClk, "right button double click", false},
    {kMsgMButtonDown, "middle button down", false},
    {kMsgMButtonUp, "middle button up", false},
    {kMsgMButtonDblClk, "middle button double click", false},
    {kMsgMouseWheel, "wheel", false},
    {kMsgXButtonDown, "side button down", false},
    {kMsgXButtonUp, "side button up", false},
    {kMsgXButtonDblClk, "side button double click", false},
    {kMsgMouseHWheel, "wheel tilt", false},
    {kMsgDelay, "delay", false},
};

// The longest delay the mouse can hold: 24 bits of milliseconds.
constexpr int64_t kMaxDelay = 0xFFFFFF;

const EventKind* KindOfMessage(int32_t message) {
  for (const EventKind& kind : kEventKinds) {
    if (kind.Message == message) return &kind;
  }
  return nullptr;
}

// Report-rate codes (milliseconds between reports) and the reports per second they give.
constexpr struct {
  int32_t Code;
  int32_t PerSecond;
} kReportRates[] = {{1, 1000}, {2, 500}, {4, 250}, {5, 200}, {8, 125}, {10, 100}, {20, 50}};
// The code held when the settings name none; no list entry shows it.
constexpr int32_t kReportRateNotSet = 2000;

constexpr int kMaxStageCode = 15;  // stage code n is (n + 1) x 200 DPI

constexpr uint32_t kModeNames[] = {IDS_AUTO, IDS_MANUAL, IDS_ONE_SHOT};

// Function codes that name a function: the rows of the device, the hot key and the macro.
bool IsKnownFunction(int32_t code) {
  return code == kFunctionHotKey || code == kFunctionMacro || FunctionNameId(code) != 0;
}

std::string FunctionName(int32_t code) {
  const uint32_t id = FunctionNameId(code);
  return id ? Utf8(id) : std::string();
}

std::string Hex(uint32_t value, int minDigits, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(text.size()) < minDigits) text.insert(text.begin(), '0');
  return text;
}

// ---- writing ----

Json EventJson(const MacroEvent& event) {
  Json json = Json::object();
  const EventKind* kind = KindOfMessage(event.Message);
  if (!kind) {
    json["message"] = event.Message;
    json["data"] = event.Data;
  } else if (kind->Key && event.Data >= 0 && event.Data <= 0xFF &&
             !BuiltinString(512u + static_cast<uint32_t>(event.Data)).empty()) {
    json[kind->Name] = Utf8(BuiltinString(512u + static_cast<uint32_t>(event.Data)));
  } else {
    json[kind->Name] = event.Data;
  }
  return json;
}

Json ButtonJson(int button, const ButtonAssignment& a) {
  Json json = Json::object();
  json["button"] = button;
  Json function = Json::object();
  function["code"] = a.FunctionCode;
  if (IsKnownFunction(a.FunctionCode)) function["name"] = FunctionName(a.FunctionCode);
  json["function"] = function;
  Json hotKey = Json::object();
  hotKey["vk"] = a.HotKeyVk;
  hotKey["modifiers"] = a.HotKeyModifiers;
  hotKey["text"] = Utf8(HotKeyText(a.HotKeyVk, a.HotKeyModifiers, 0));
  json["hotKey"] = hotKey;
  json["macro"] = Utf8(NameView(a.MacroName));
  json["mode"] = a.ExecutionMode >= 0 && a.ExecutionMode <= 2 ? Utf8(kModeNames[a.ExecutionMode])
                                                              : std::string();
  json["interval"] = a.ExecutionInterval;
  return json;
}

// ---- reading ----

struct Problem {
  std::string path;
  std::string message;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Member(const std::string& path, const std::string& key) {
  const bool plain = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
  return plain ? path + "." + key : path + "[" + Quoted(key) + "]";
}

std::string Element(const std::string& path, size_t index) {
  return path + "[" + std::to_string(index) + "]";
}

[[noreturn]] void Fail(const std::string& path, const std::string& message) {
  throw Problem{path, message};
}

const Json& ObjectAt(const Json& value, const std::string& path,
                     std::initializer_list<const char*> keys) {
  if (!value.is_object()) Fail(path, "must be an object");
  for (auto it = value.begin(); it != value.end(); ++it) {
    if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return it.key() == k; })) {
      Fail(Member(path, it.key()), "unknown key");
    }
  }
  return value;
}

const Json& Required(const Json& object, const std::string& path, const char* key) {
  const auto it = object.find(key);
  if (it == object.end()) Fail(path, "missing key " + Quoted(key));
  return *it;
}

int64_t IntegerAt(const Json& value, const std::string& path, int64_t low, int64_t high) {
  const std::string range = std::to_string(low) + ".." + std::to_string(high);
  if (!value.is_number_integer()) Fail(path, "must be an integer in " + range);
  int64_t v;
  if (value.is_number_unsigned()) {
    const uint64_t u = value.get<uint64_t>();
    if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
      Fail(path, value.dump() + " is out of range " + range);
    }
    v = static_cast<int64_t>(u);
  } else {
    v = value.get<int64_t>();
  }
  if (v < low || v > high) Fail(path, std::to_string(v) + " is out of range " + range);
  return v;
}

int64_t Integer(const Json& object, const std::string& path, const char* key, int64_t low,
                int64_t high) {
  return IntegerAt(Required(object, path, key), Member(path, key), low, high);
}

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kUint32Max = std::numeric_limits<uint32_t>::max();

int32_t Int32(const Json& object, const std::string& path, const char* key) {
  return static_cast<int32_t>(Integer(object, path, key, kInt32Min, kInt32Max));
}

std::u16string StringAt(const Json& value, const std::string& path) {
  if (!value.is_string()) Fail(path, "must be a string");
  return text::Utf8ToUtf16(value.get_ref<const std::string&>());
}

// 1..digits hexadecimal digits of either case.
uint32_t HexAt(const Json& object, const std::string& path, const char* key, int digits) {
  const std::string where = Member(path, key);
  const Json& value = Required(object, path, key);
  const std::string what =
      "must be a text of 1 to " + std::to_string(digits) + " hexadecimal digits";
  if (!value.is_string()) Fail(where, what);
  const std::string& text = value.get_ref<const std::string&>();
  if (text.empty() || static_cast<int>(text.size()) > digits) Fail(where, what);
  uint32_t v = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      Fail(where, what);
    v = v << 4 | static_cast<uint32_t>(d);
  }
  return v;
}

const Json& ArrayAt(const Json& object, const std::string& path, const char* key) {
  const Json& value = Required(object, path, key);
  if (!value.is_array()) Fail(Member(path, key), "must be an array");
  return value;
}

void ReadApplication(const Json& doc, StoredConfiguration& c) {
  const std::string path = "$.application";
  const Json& o = ObjectAt(Required(doc, "$", "application"), path,
                           {"language", "startWithWindows", "minimizeToSystemTray", "demo"});
  c.application.Lcid = static_cast<uint32_t>(Integer(o, path, "language", 0, kUint32Max));
  c.application.StartWithWindows = Int32(o, path, "startWithWindows");
  c.application.MinimizeToSystemTray = Int32(o, path, "minimizeToSystemTray");
  c.application.Demo = Int32(o, path, "demo");
}

void ReadDevice(const Json& doc, StoredConfiguration& c) {
  const std::string path = "$.device";
  const Json& o =
      ObjectAt(Required(doc, "$", "device"), path,
               {"vendorId", "productId", "memoryLength", "buttons", "reportDelay", "turboLo"});
  c.hardware.VendorId = static_cast<uint16_t>(HexAt(o, path, "vendorId", 4));
  c.hardware.ProductId = static_cast<uint16_t>(HexAt(o, path, "productId", 4));
  c.application.MemoryLength = HexAt(o, path, "memoryLength", 8);
  c.hardware.ButtonCount =
      static_cast<int32_t>(Integer(o, path, "buttons", kMinButtonCount, kMaxButtonCount));
  c.hardware.ReportDelay = static_cast<int32_t>(Integer(o, path, "reportDelay", 0, kInt32Max));
  c.hardware.TurboLo = static_cast<uint8_t>(Integer(o, path, "turboLo", 0, 0xFF));
}

void ReadStages(const Json& o, const std::string& path, const char* key, int count,
                int32_t* codes) {
  const Json& stages = ArrayAt(o, path, key);
  const std::string where = Member(path, key);
  if (static_cast<int>(stages.size()) != count) {
    Fail(where, "holds " + std::to_string(stages.size()) + " stages; resolutions says " +
                    std::to_string(count));
  }
  for (int i = 0; i < count; ++i) {
    const std::string at = Element(where, static_cast<size_t>(i));
    const int64_t dpi =
        IntegerAt(stages[static_cast<size_t>(i)], at, 200, 200 * (kMaxStageCode + 1));
    if (dpi % 200 != 0) Fail(at, std::to_string(dpi) + " DPI is not a multiple of 200");
    codes[i] = static_cast<int32_t>(dpi / 200 - 1);
  }
}

void ReadPointer(const Json& doc, StoredConfiguration& c) {
  const std::string path = "$.pointer";
  const Json& o = ObjectAt(Required(doc, "$", "pointer"), path,
                           {"resolutions", "XequalY", "dpiX", "dpiY", "reportRate", "pointerSpeed",
                            "pointerAcceleration"});
  c.pointer = DefaultPointerSettings();
  c.pointer.Resolutions =
      static_cast<int32_t>(Integer(o, path, "resolutions", kMinResolutions, kMaxResolutions));
  c.pointer.XequalY = Int32(o, path, "XequalY");
  ReadStages(o, path, "dpiX", c.pointer.Resolutions, c.pointer.ResolutionX);
  ReadStages(o, path, "dpiY", c.pointer.Resolutions, c.pointer.ResolutionY);
  const Json& rate = Required(o, path, "reportRate");
  if (rate.is_null()) {
    c.pointer.ReportRate = kReportRateNotSet;
  } else {
    const int64_t perSecond = IntegerAt(rate, Member(path, "reportRate"), 50, 1000);
    const auto* found = std::find_if(std::begin(kReportRates), std::end(kReportRates),
                                     [&](const auto& r) { return r.PerSecond == perSecond; });
    if (found == std::end(kReportRates)) {
      Fail(Member(path, "reportRate"),
           std::to_string(perSecond) + " is not one of 1000, 500, 250, 200, 125, 100, 50 or null");
    }
    c.pointer.ReportRate = found->Code;
  }
  c.hasPointerSpeed = o.contains("pointerSpeed");
  if (c.hasPointerSpeed)
    c.pointerSpeed = static_cast<int32_t>(Integer(o, path, "pointerSpeed", 1, 20));
  c.hasPointerAcceleration = o.contains("pointerAcceleration");
  if (c.hasPointerAcceleration) {
    c.pointerAcceleration = static_cast<int32_t>(Integer(o, path, "pointerAcceleration", 0, 1));
  }
}

void ReadButtonSettings(const Json& doc, StoredConfiguration& c) {
  const std::string path = "$.buttonSettings";
  const Json& o = ObjectAt(Required(doc, "$", "buttonSettings"), path,
                           {"useComboBox", "intervalMin", "intervalMax", "intervalMaxDigits"});
  c.buttonSettings.UseComboBox = Int32(o, path, "useComboBox");
  c.buttonSettings.IntervalMin =
      static_cast<uint32_t>(Integer(o, path, "intervalMin", 0, kUint32Max));
  c.buttonSettings.IntervalMax =
      static_cast<uint32_t>(Integer(o, path, "intervalMax", 0, kUint32Max));
  if (c.buttonSettings.IntervalMax < c.buttonSettings.IntervalMin) {
    Fail(Member(path, "intervalMax"), "is below intervalMin");
  }
  c.buttonSettings.IntervalMaxDigits =
      static_cast<int32_t>(Integer(o, path, "intervalMaxDigits", 1, 10));
}

void ReadRecording(const Json& doc, StoredConfiguration& c) {
  const std::string path = "$.recording";
  const Json& o = ObjectAt(Required(doc, "$", "recording"), path,
                           {"delayDefault", "delayMax", "delayMaxDigits", "mouse", "keyboard",
                            "delay", "minimize", "useHotkey", "hotkey"});
  RecordingOptions& r = c.recording;
  r.DelayDefault = static_cast<int32_t>(Integer(o, path, "delayDefault", 0, kMaxDelay));
  r.DelayMax = static_cast<int32_t>(Integer(o, path, "delayMax", 0, kMaxDelay));
  r.DelayMaxDigits = static_cast<int32_t>(Integer(o, path, "delayMaxDigits", 1, 10));
  r.RecordingMouse = Int32(o, path, "mouse");
  r.RecordingKeyboard = Int32(o, path, "keyboard");
  r.RecordingDelay = Int32(o, path, "delay");
  r.RecordingMinimize = Int32(o, path, "minimize");
  r.RecordingUseHotkey = Int32(o, path, "useHotkey");
  r.RecordingHotkey = HexAt(o, path, "hotkey", 8);
}

int32_t ReadFunction(const Json& value, const std::string& path) {
  const Json& o = ObjectAt(value, path, {"code", "name"});
  const bool hasCode = o.contains("code");
  const bool hasName = o.contains("name");
  if (!hasCode && !hasName) Fail(path, "needs a code or a name");
  int32_t code = 0;
  if (hasCode) {
    code = Int32(o, path, "code");
    if (!IsKnownFunction(code))
      Fail(Member(path, "code"), "unknown function code " + std::to_string(code));
  }
  if (hasName) {
    const std::string where = Member(path, "name");
    const std::string name = Utf8(StringAt(o["name"], where));
    int32_t named = -1;
    for (int32_t candidate : {0,
                              1,
                              2,
                              3,
                              4,
                              5,
                              6,
                              7,
                              8,
                              9,
                              10,
                              11,
                              12,
                              13,
                              14,
                              15,
                              16,
                              17,
                              18,
                              19,
                              20,
                              21,
                              22,
                              23,
                              24,
                              25,
                              26,
                              27,
                              28,
                              29,
                              30,
                              31,
                              32,
                              33,
                              34,
                              35,
                              36,
                              37,
                              38,
                              39,
                              40,
                              kFunctionHotKey,
                              kFunctionMacro}) {
      if (IsKnownFunction(candidate) && FunctionName(candidate) == name) {
        named = candidate;
        break;
      }
    }
    if (named < 0) Fail(where, "unknown function name " + Quoted(name));
    if (hasCode && named != code) {
      Fail(where, Quoted(name) + " is not the name of function code " + std::to_string(code));
    }
    code = named;
  }
  return code;
}

void ReadButtons(const Json& doc, StoredConfiguration& c) {
  const int count = c.hardware.ButtonCount;
  const Json& defaults = ArrayAt(doc, "$", "buttonsDefault");
  if (static_cast<int>(defaults.size()) != count) {
    Fail("$.buttonsDefault", "holds " + std::to_string(defaults.size()) +
                                 " function codes; device.buttons says " + std::to_string(count));
  }
  for (int i = 0; i < count; ++i) {
    const std::string at = Element("$.buttonsDefault", static_cast<size_t>(i));
    const auto code =
        static_cast<int32_t>(IntegerAt(defaults[static_cast<size_t>(i)], at, kInt32Min, kInt32Max));
    if (!IsKnownFunction(code)) Fail(at, "unknown function code " + std::to_string(code));
    c.buttonsDefault[i] = code;
  }

  const Json& buttons = ArrayAt(doc, "$", "buttons");
  if (static_cast<int>(buttons.size()) != count) {
    Fail("$.buttons", "holds " + std::to_string(buttons.size()) + " buttons; device.buttons says " +
                          std::to_string(count));
  }
  for (int i = 0; i < count; ++i) {
    const std::string path = Element("$.buttons", static_cast<size_t>(i));
    const Json& o = ObjectAt(buttons[static_cast<size_t>(i)], path,
                             {"button", "function", "hotKey", "macro", "mode", "interval"});
    Integer(o, path, "button", i + 1, i + 1);
    ButtonAssignment& a = c.assignments[i];
    std::memset(&a, 0, sizeof a);
    a.FunctionCode = ReadFunction(Required(o, path, "function"), Member(path, "function"));

    const std::string hotPath = Member(path, "hotKey");
    const Json& hot = ObjectAt(Required(o, path, "hotKey"), hotPath, {"vk", "modifiers", "text"});
    a.HotKeyVk = static_cast<uint16_t>(Integer(hot, hotPath, "vk", 0, 0xFF));
    a.HotKeyModifiers = static_cast<uint16_t>(Integer(hot, hotPath, "modifiers", 0, 0x7F));
    if (hot.contains("text")) {
      // The text is for reading; one that names another combination is a half-made edit.
      const std::u16string text = StringAt(hot["text"], Member(hotPath, "text"));
      if (text != HotKeyText(a.HotKeyVk, a.HotKeyModifiers, 0)) {
        Fail(Member(hotPath, "text"), Quoted(Utf8(text)) + " does not name vk " +
                                          std::to_string(a.HotKeyVk) + " with modifiers " +
                                          std::to_string(a.HotKeyModifiers));
      }
    }
    const std::u16string macro = StringAt(Required(o, path, "macro"), Member(path, "macro"));
    if (macro.size() >= static_cast<size_t>(kAssignmentNameUnits) ||
        macro.find(u'\0') != std::u16string::npos) {
      Fail(Member(path, "macro"), "must be at most 127 characters without NUL");
    }
    CopyName(a.MacroName, macro);

    const std::string modePath = Member(path, "mode");
    const std::string mode = Utf8(StringAt(Required(o, path, "mode"), modePath));
    a.ExecutionMode = -1;
    for (int32_t m = 0; m < 3; ++m) {
      if (mode == Utf8(kModeNames[m])) a.ExecutionMode = m;
    }
    if (a.ExecutionMode < 0)
      Fail(modePath, "unknown mode " + Quoted(mode) + "; Auto, Manual or One-shot");
    a.ExecutionInterval = static_cast<uint32_t>(
        Integer(o, path, "interval", c.buttonSettings.IntervalMin, c.buttonSettings.IntervalMax));
  }
}

MacroEvent ReadEvent(const Json& value, const std::string& path) {
  if (!value.is_object()) Fail(path, "must be an object");
  if (value.contains("message") || value.contains("data")) {
    const Json& o = ObjectAt(value, path, {"message", "data"});
    return MacroEvent{Int32(o, path, "message"), Int32(o, path, "data")};
  }
  if (value.size() != 1) Fail(path, "must hold one event kind and its value");
  const std::string& name = value.begin().key();
  const std::string where = Member(path, name);
  const auto* kind = std::find_if(std::begin(kEventKinds), std::end(kEventKinds),
                                  [&](const EventKind& k) { return name == k.Name; });
  if (kind == std::end(kEventKinds)) Fail(where, "unknown event kind");
  const Json& data = value.begin().value();
  if (kind->Key && data.is_string()) {
    const std::u16string key = StringAt(data, where);
    const int vk = FindKeyByName(key);
    if (vk < 0) Fail(where, "unknown key name " + Quoted(Utf8(key)));
    return MacroEvent{kind->Message, vk};
  }
  if (kind->Message == kMsgDelay) {
    return MacroEvent{kind->Message, static_cast<int32_t>(IntegerAt(data, where, 0, kMaxDelay))};
  }
  return MacroEvent{kind->Message,
                    static_cast<int32_t>(IntegerAt(data, where, kInt32Min, kInt32Max))};
}

void ReadMacros(const Json& doc, StoredConfiguration& c) {
  const Json& macros = ArrayAt(doc, "$", "macros");
  if (macros.size() > static_cast<size_t>(kMaxMacros)) {
    Fail("$.macros", "holds " + std::to_string(macros.size()) + " macros; at most 128");
  }
  MacroLibrary& library = c.library;
  ClearMacros(library.Macros, kMaxMacros);
  library.MacroCount = 0;
  for (size_t i = 0; i < macros.size(); ++i) {
    const std::string path = Element("$.macros", i);
    const Json& o = ObjectAt(macros[i], path, {"name", "events"});
    const std::string namePath = Member(path, "name");
    const std::u16string name = StringAt(Required(o, path, "name"), namePath);
    if (!IsValidMacroName(name)) {
      Fail(namePath, Quoted(Utf8(name)) +
                         " cannot name a macro file (1 to 63 characters, none of "
                         "\\ / : * ? \" < > |, no device name)");
    }
    const int other = FindMacroName(library, name);
    if (other >= 0) {
      Fail(namePath, Quoted(Utf8(name)) + " is the name of " +
                         Element("$.macros", static_cast<size_t>(other)) +
                         " (names differ in more than case)");
    }
    const Json& events = ArrayAt(o, path, "events");
    if (events.size() > static_cast<size_t>(kMaxEvents)) {
      Fail(Member(path, "events"),
           "holds " + std::to_string(events.size()) + " events; at most 512");
    }
    Macro& macro = library.Macros[i];
    CopyName(macro.Name, name);
    for (size_t e = 0; e < events.size(); ++e) {
      macro.Events[e] = ReadEvent(events[e], Element(Member(path, "events"), e));
    }
    macro.EventCount = static_cast<int32_t>(events.size());
    library.MacroCount = static_cast<int32_t>(i + 1);
  }
}

}  // namespace

std::unique_ptr<StoredConfiguration> LoadStoredConfiguration() {
  auto c = std::make_unique<StoredConfiguration>();
  LoadHardwareSettings(c->application, c->hardware);
  LoadMacroLibrary(c->library);
  LoadButtonAssignments(c->buttonSettings, c->assignments, c->hardware.ButtonCount, c->library);
  c->pointer = DefaultPointerSettings();
  LoadPointerSettings(c->pointer);
  LoadRecordingOptions(c->recording);
  for (int i = 0; i < c->hardware.ButtonCount; ++i)
    c->buttonsDefault[i] = LoadButtonsDefault(i + 1);
  const profile::Document doc = profile::Document::Load(SettingsFilePath());
  c->hasPointerSpeed = doc.Get(u"Hardware", u"PointerSpeed").has_value();
  c->pointerSpeed = doc.GetInt(u"Hardware", u"PointerSpeed", 0);
  c->hasPointerAcceleration = doc.Get(u"Hardware", u"PointerAcceleration").has_value();
  c->pointerAcceleration = doc.GetInt(u"Hardware", u"PointerAcceleration", 0);
  return c;
}

std::string ConfigurationToJson(const StoredConfiguration& c) {
  Json doc = Json::object();
  doc["schema"] = kConfigurationSchema;
  doc["version"] = kConfigurationVersion;

  Json& application = doc["application"] = Json::object();
  application["language"] = c.application.Lcid;
  application["startWithWindows"] = c.application.StartWithWindows;
  application["minimizeToSystemTray"] = c.application.MinimizeToSystemTray;
  application["demo"] = c.application.Demo;

  Json& device = doc["device"] = Json::object();
  device["vendorId"] = Hex(c.hardware.VendorId, 4, true);
  device["productId"] = Hex(c.hardware.ProductId, 4, true);
  device["memoryLength"] = Hex(c.application.MemoryLength, 1, false);
  device["buttons"] = c.hardware.ButtonCount;
  device["reportDelay"] = c.hardware.ReportDelay;
  device["turboLo"] = c.hardware.TurboLo;

  Json& pointer = doc["pointer"] = Json::object();
  const int stages = std::clamp(c.pointer.Resolutions, kMinResolutions, kMaxResolutions);
  pointer["resolutions"] = stages;
  pointer["XequalY"] = c.pointer.XequalY;
  Json dpiX = Json::array();
  Json dpiY = Json::array();
  for (int i = 0; i < stages; ++i) {
    dpiX.push_back(200 * (static_cast<int64_t>(c.pointer.ResolutionX[i]) + 1));
    dpiY.push_back(200 * (static_cast<int64_t>(c.pointer.ResolutionY[i]) + 1));
  }
  pointer["dpiX"] = dpiX;
  pointer["dpiY"] = dpiY;
  pointer["reportRate"] = nullptr;
  for (const auto& rate : kReportRates) {
    if (rate.Code == c.pointer.ReportRate) pointer["reportRate"] = rate.PerSecond;
  }
  if (c.hasPointerSpeed) pointer["pointerSpeed"] = c.pointerSpeed;
  if (c.hasPointerAcceleration) pointer["pointerAcceleration"] = c.pointerAcceleration;

  Json& settings = doc["buttonSettings"] = Json::object();
  settings["useComboBox"] = c.buttonSettings.UseComboBox;
  settings["intervalMin"] = c.buttonSettings.IntervalMin;
  settings["intervalMax"] = c.buttonSettings.IntervalMax;
  settings["intervalMaxDigits"] = c.buttonSettings.IntervalMaxDigits;

  const int buttons = std::clamp(c.hardware.ButtonCount, 0, kMaxButtonCount);
  Json& defaults = doc["buttonsDefault"] = Json::array();
  for (int i = 0; i < buttons; ++i) defaults.push_back(c.buttonsDefault[i]);

  Json& recording = doc["recording"] = Json::object();
  recording["delayDefault"] = c.recording.DelayDefault;
  recording["delayMax"] = c.recording.DelayMax;
  recording["delayMaxDigits"] = c.recording.DelayMaxDigits;
  recording["mouse"] = c.recording.RecordingMouse;
  recording["keyboard"] = c.recording.RecordingKeyboard;
  recording["delay"] = c.recording.RecordingDelay;
  recording["minimize"] = c.recording.RecordingMinimize;
  recording["useHotkey"] = c.recording.RecordingUseHotkey;
  recording["hotkey"] = Hex(c.recording.RecordingHotkey, 1, false);

  Json& assignments = doc["buttons"] = Json::array();
  for (int i = 0; i < buttons; ++i) assignments.push_back(ButtonJson(i + 1, c.assignments[i]));

  Json& macros = doc["macros"] = Json::array();
  for (int i = 0; i < MacroCountInUse(c.library); ++i) {
    const Macro& m = c.library.Macros[i];
    Json macro = Json::object();
    macro["name"] = Utf8(NameView(m.Name));
    Json events = Json::array();
    const int count = std::clamp(m.EventCount, 0, kMaxEvents);
    for (int e = 0; e < count; ++e) events.push_back(EventJson(m.Events[e]));
    macro["events"] = std::move(events);
    macros.push_back(std::move(macro));
  }
  return doc.dump(2) + "\n";
}

std::unique_ptr<StoredConfiguration> ConfigurationFromJson(std::string_view json,
                                                           std::u16string& error) {
  Json doc;
  try {
    doc = Json::parse(json.begin(), json.end());
  } catch (const Json::parse_error& e) {
    // "[json.exception.parse_error.101] parse error at line 3, column 5: ..." without the tag.
    std::string what = e.what();
    const size_t tag = what.find("] ");
    if (tag != std::string::npos) what = what.substr(tag + 2);
    error = text::Utf8ToUtf16("not a JSON document: " + what);
    return nullptr;
  }
  auto c = std::make_unique<StoredConfiguration>();
  try {
    const Json& top =
        ObjectAt(doc, "$",
                 {"schema", "version", "application", "device", "pointer", "buttonSettings",
                  "buttonsDefault", "recording", "buttons", "macros"});
    const Json& schema = Required(top, "$", "schema");
    if (schema != kConfigurationSchema) {
      Fail("$.schema", schema.dump() + " is not " + Quoted(kConfigurationSchema));
    }
    const Json& version = Required(top, "$", "version");
    if (version != kConfigurationVersion) {
      Fail("$.version", "version " + version.dump() +
                            " is not supported; this program reads version " +
                            std::to_string(kConfigurationVersion));
    }
    ReadApplication(top, *c);
    ReadDevice(top, *c);
    ReadPointer(top, *c);
    ReadButtonSettings(top, *c);
    ReadRecording(top, *c);
    ReadMacros(top, *c);
    ReadButtons(top, *c);
  } catch (const Problem& problem) {
    error = text::Utf8ToUtf16(problem.path + ": " + problem.message);
    return nullptr;
  }
  ResolveMacroLinks(c->assignments, c->hardware.ButtonCount, c->library);
  return c;
}

}  // namespace corvane
