#include "storage/configuration_json.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <vector>

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

// The names the document gives functions and execution modes: its own, fixed for good. They are
// spelled as the built-in texts were when the document was made, so version 1 documents read;
// rewording a text of the program changes none of them.
constexpr struct {
  int32_t Code;
  const char* Name;
} kFunctionNames[] = {
    {0, "Disabled"},
    {1, "Left-click"},
    {2, "Right-click"},
    {3, "Middle-click"},
    {4, "Backward"},
    {5, "Forward"},
    {6, "Scroll Left"},
    {7, "Scroll Right"},
    {8, "Left Double-click"},
    {9, "Left Triple-click"},
    {10, "Increase DPI"},
    {11, "Decrease DPI"},
    {12, "Cycling DPI"},
    {13, "Show/Hide Desktop"},
    {14, "Copy"},
    {15, "Paste"},
    {16, "Cut"},
    {17, "Redo"},
    {18, "Undo"},
    {19, "Close"},
    {20, "Zoom In"},
    {21, "Zoom Out"},
    {22, "My Computer"},
    {23, "Calculator"},
    {24, "Send Mail"},
    {25, "Browser Home"},
    {26, "Browser Search"},
    {27, "Browser Favorites"},
    {28, "Browser Backward"},
    {29, "Browser Forward"},
    {30, "Next Track"},
    {31, "Previous Track"},
    {32, "Stop"},
    {33, "Play/Pause"},
    {34, "Mute"},
    {35, "Volume Up"},
    {36, "Volume Down"},
    {37, "Bass Up"},
    {38, "Bass Down"},
    {39, "Treble Up"},
    {40, "Treble Down"},
    {kFunctionHotKey, "Hotkey..."},
    {kFunctionMacro, "Macro..."},
};
constexpr const char* kModeNames[] = {"Auto", "Manual", "One-shot"};  // ExecutionMode 0..2

// The name of a function code, or null for a code without one (41..253 and the rest: a button
// that adds nothing to the image).
const char* FunctionName(int32_t code) {
  for (const auto& f : kFunctionNames) {
    if (f.Code == code) return f.Name;
  }
  return nullptr;
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
  if (const char* name = FunctionName(a.FunctionCode)) function["name"] = name;
  json["function"] = function;
  Json hotKey = Json::object();
  hotKey["vk"] = a.HotKeyVk;
  hotKey["modifiers"] = a.HotKeyModifiers;
  hotKey["text"] = Utf8(HotKeyText(a.HotKeyVk, a.HotKeyModifiers, 0));
  json["hotKey"] = hotKey;
  json["macro"] = Utf8(NameView(a.MacroName));
  json["mode"] = a.ExecutionMode >= 0 && a.ExecutionMode <= 2 ? kModeNames[a.ExecutionMode] : "";
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

template <class Keys>
const Json& ObjectWith(const Json& value, const std::string& path, const Keys& keys) {
  if (!value.is_object()) Fail(path, "must be an object");
  for (auto it = value.begin(); it != value.end(); ++it) {
    if (std::none_of(std::begin(keys), std::end(keys),
                     [&](std::string_view k) { return it.key() == k; })) {
      Fail(Member(path, it.key()), "unknown key");
    }
  }
  return value;
}

const Json& ObjectAt(const Json& value, const std::string& path,
                     std::initializer_list<std::string_view> keys) {
  return ObjectWith(value, path, keys);
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
uint32_t HexTextAt(const Json& value, const std::string& where, int digits) {
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

// ---- the values of storage/settings.def ----

// The objects of the document that hold them, in document order, and the lists each holds beside.
struct Group {
  const char* Name;
  std::string_view Lists[2];
};
constexpr Group kGroups[] = {
    {"application", {}},    {"device", {}},    {"pointer", {"dpiX", "dpiY"}},
    {"buttonSettings", {}}, {"recording", {}},
};

template <class T>
int64_t FieldValue(const T& field) {
  return static_cast<int64_t>(field);
}

template <class T>
void SetField(T& field, int64_t v) {
  field = static_cast<T>(v);
}
void SetField(std::optional<int32_t>& field, int64_t v) { field = static_cast<int32_t>(v); }

// A code that has no form in the document's units: {"code": n}.
Json CodeJson(int64_t code) {
  Json json = Json::object();
  json["code"] = code;
  return json;
}

Json ValueJson(const settings::Value& v, int64_t value) {
  switch (v.encoding) {
    case settings::Encoding::kInt: return value;
    case settings::Encoding::kHex: return Hex(static_cast<uint32_t>(value), 1, false);
    case settings::Encoding::kId: return Hex(static_cast<uint32_t>(value), 4, true);
    case settings::Encoding::kRate:
      for (const auto& rate : kReportRates) {
        if (rate.Code == value) return rate.PerSecond;
      }
      return value == kReportRateNotSet ? Json(nullptr) : CodeJson(value);
  }
  return value;
}

// A DPI stage: its DPI, or its code when it names none.
Json StageJson(int32_t code) {
  if (code < 0 || code > kMaxStageCode) return CodeJson(code);
  return 200 * (code + 1);
}

// {"code": n} of a value without a form of its own, n in low..high.
int64_t CodeAt(const Json& value, const std::string& path, int64_t low, int64_t high) {
  const Json& o = ObjectAt(value, path, {"code"});
  return Integer(o, path, "code", low, high);
}

int64_t ReadValue(const settings::Value& v, const Json& value, const std::string& path) {
  switch (v.encoding) {
    case settings::Encoding::kInt: return IntegerAt(value, path, v.low, v.high);
    case settings::Encoding::kHex:
    case settings::Encoding::kId:
      return HexTextAt(value, path, v.encoding == settings::Encoding::kId ? 4 : 8);
    case settings::Encoding::kRate: {
      if (value.is_null()) return kReportRateNotSet;
      if (value.is_object()) return CodeAt(value, path, v.low, v.high);
      const int64_t perSecond = IntegerAt(value, path, 50, 1000);
      for (const auto& rate : kReportRates) {
        if (rate.PerSecond == perSecond) return rate.Code;
      }
      Fail(path, std::to_string(perSecond) +
                     " is not one of 1000, 500, 250, 200, 125, 100, 50, null or {\"code\": n}");
    }
  }
  return 0;
}

void WriteValues(Json& doc, const StoredConfiguration& c) {
  for (const auto& group : kGroups) doc[group.Name] = Json::object();
  settings::ForEachValue([&](const settings::Value& v, auto member) {
    const auto& field = OwnerIn<settings::OwnerOfT<decltype(member)>>(c).*member;
    Json& object = doc[std::string(v.group)];
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::optional<int32_t>>) {
      if (field) object[std::string(v.name)] = ValueJson(v, *field);
    } else {
      object[std::string(v.name)] = ValueJson(v, FieldValue(field));
    }
  });
}

void ReadValues(const Json& doc, StoredConfiguration& c) {
  for (const auto& group : kGroups) {
    const std::string path = std::string("$.") + group.Name;
    std::vector<std::string_view> keys;
    for (std::string_view list : group.Lists) {
      if (!list.empty()) keys.push_back(list);
    }
    settings::ForEachValue([&](const settings::Value& v, auto) {
      if (v.group == group.Name) keys.push_back(v.name);
    });
    ObjectWith(Required(doc, "$", group.Name), path, keys);
  }
  settings::ForEachValue([&](const settings::Value& v, auto member) {
    auto& field = OwnerIn<settings::OwnerOfT<decltype(member)>>(c).*member;
    const std::string group(v.group);
    const std::string name(v.name);
    const Json& object = doc[group];
    if (v.written == settings::Written::kAppliedOnly && !object.contains(name)) return;
    SetField(field, ReadValue(v, Required(object, "$." + group, name.c_str()),
                              Member("$." + group, name)));
  });
}

int32_t ReadFunction(const Json& value, const std::string& path) {
  const Json& o = ObjectAt(value, path, {"code", "name"});
  const bool hasCode = o.contains("code");
  const bool hasName = o.contains("name");
  if (!hasCode && !hasName) Fail(path, "needs a code or a name");
  // Any code: one without a name is stored and loaded, and adds nothing to the image.
  int32_t code = hasCode ? Int32(o, path, "code") : 0;
  if (hasName) {
    const std::string where = Member(path, "name");
    const std::string name = Utf8(StringAt(o["name"], where));
    const auto* named = std::find_if(std::begin(kFunctionNames), std::end(kFunctionNames),
                                     [&](const auto& f) { return name == f.Name; });
    if (named == std::end(kFunctionNames)) Fail(where, "unknown function name " + Quoted(name));
    if (hasCode && named->Code != code) {
      Fail(where, Quoted(name) + " is not the name of function code " + std::to_string(code));
    }
    code = named->Code;
  }
  return code;
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
    const Json& stage = stages[static_cast<size_t>(i)];
    if (stage.is_object()) {
      codes[i] = static_cast<int32_t>(CodeAt(stage, at, kInt32Min, kInt32Max));
      continue;
    }
    const int64_t dpi = IntegerAt(stage, at, 200, 200 * (kMaxStageCode + 1));
    if (dpi % 200 != 0) Fail(at, std::to_string(dpi) + " DPI is not a multiple of 200");
    codes[i] = static_cast<int32_t>(dpi / 200 - 1);
  }
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
    c.buttonsDefault[i] =
        static_cast<int32_t>(IntegerAt(defaults[static_cast<size_t>(i)], at, kInt32Min, kInt32Max));
  }

  const Json& buttons = ArrayAt(doc, "$", "buttons");
  if (static_cast<int>(buttons.size()) != count) {
    Fail("$.buttons", "holds " + std::to_string(buttons.size()) + " buttons; device.buttons says " +
                          std::to_string(count));
  }
  const ButtonSettings& limits = c.buttonSettings;
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
    a.HotKeyVk = static_cast<uint16_t>(Integer(hot, hotPath, "vk", 0, 0xFFFF));
    a.HotKeyModifiers = static_cast<uint16_t>(Integer(hot, hotPath, "modifiers", 0, 0xFFFF));
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
    const auto* named = std::find(std::begin(kModeNames), std::end(kModeNames), mode);
    if (named == std::end(kModeNames))
      Fail(modePath, "unknown mode " + Quoted(mode) + "; Auto, Manual or One-shot");
    a.ExecutionMode = static_cast<int32_t>(named - std::begin(kModeNames));
    // As loading leaves it: within intervalMin..intervalMax, or intervalMin itself when the
    // limits are the wrong way round.
    if (limits.IntervalMin > limits.IntervalMax) {
      a.ExecutionInterval = static_cast<uint32_t>(
          Integer(o, path, "interval", limits.IntervalMin, limits.IntervalMin));
    } else {
      a.ExecutionInterval = static_cast<uint32_t>(
          Integer(o, path, "interval", limits.IntervalMin, limits.IntervalMax));
    }
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
  return MacroEvent{kind->Message,
                    static_cast<int32_t>(IntegerAt(data, where, kInt32Min, kInt32Max))};
}

bool SameEvents(const Macro& a, const Macro& b) {
  return a.EventCount == b.EventCount &&
         std::equal(a.Events, a.Events + a.EventCount, b.Events, [](const auto& x, const auto& y) {
           return x.Message == y.Message && x.Data == y.Data;
         });
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
    if (name.size() > static_cast<size_t>(kMacroNameChars) ||
        name.find(u'\0') != std::u16string::npos) {
      Fail(namePath, "must be at most 63 characters without NUL");
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
    // What the program loads for a list entry: a name that cannot name a file has no events,
    // and a name that an earlier entry carries reads that entry's file.
    if (!IsValidMacroName(name) && macro.EventCount != 0) {
      Fail(namePath, Quoted(Utf8(name)) +
                         " cannot name a macro file (1 to 63 characters, none of "
                         "\\ / : * ? \" < > |, no device name), so it has no events");
    }
    const int other = FindMacroName(library, name, static_cast<int>(i));
    if (IsValidMacroName(name) && other >= 0 && other < static_cast<int>(i) &&
        !SameEvents(library.Macros[other], macro)) {
      Fail(namePath, Quoted(Utf8(name)) + " is the name of " +
                         Element("$.macros", static_cast<size_t>(other)) +
                         " (names differ in more than case), whose events differ");
    }
    library.MacroCount = static_cast<int32_t>(i + 1);
  }
}

}  // namespace

std::unique_ptr<StoredConfiguration> LoadStoredConfiguration(const profile::Document& settings) {
  auto c = std::make_unique<StoredConfiguration>();
  LoadHardwareSettings(settings, c->application, c->hardware);
  LoadMacroLibrary(settings, c->library);
  LoadButtonAssignments(settings, c->buttonSettings, c->assignments, c->hardware.ButtonCount,
                        c->library);
  LoadPointerSettings(settings, c->pointer);
  c->applied = LoadAppliedPointer(settings);
  LoadRecordingOptions(settings, c->recording);
  LoadButtonsDefaults(settings, c->buttonsDefault, c->hardware.ButtonCount);
  return c;
}

std::unique_ptr<StoredConfiguration> LoadStoredConfiguration() {
  return LoadStoredConfiguration(LoadSettingsDocument());
}

std::string ConfigurationToJson(const StoredConfiguration& c) {
  Json doc = Json::object();
  doc["schema"] = kConfigurationSchema;
  doc["version"] = kConfigurationVersion;
  WriteValues(doc, c);

  Json& pointer = doc["pointer"];
  const int stages = std::clamp(c.pointer.Resolutions, kMinResolutions, kMaxResolutions);
  Json dpiX = Json::array();
  Json dpiY = Json::array();
  for (int i = 0; i < stages; ++i) {
    dpiX.push_back(StageJson(c.pointer.ResolutionX[i]));
    dpiY.push_back(StageJson(c.pointer.ResolutionY[i]));
  }
  pointer["dpiX"] = dpiX;
  pointer["dpiY"] = dpiY;

  const int buttons = std::clamp(c.hardware.ButtonCount, 0, kMaxButtonCount);
  Json& defaults = doc["buttonsDefault"] = Json::array();
  for (int i = 0; i < buttons; ++i) defaults.push_back(c.buttonsDefault[i]);

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
    ReadValues(top, *c);
    ReadStages(top["pointer"], "$.pointer", "dpiX", c->pointer.Resolutions, c->pointer.ResolutionX);
    ReadStages(top["pointer"], "$.pointer", "dpiY", c->pointer.Resolutions, c->pointer.ResolutionY);
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
