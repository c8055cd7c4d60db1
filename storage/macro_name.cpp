#include "storage/macro_name.h"

#include <algorithm>

#include "model/text.h"
#include "storage/app_folder.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

constexpr std::u16string_view kDefaultName = u"New Macro";

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsForbiddenUnit(char16_t c) {
  return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
}

// True when the unit at i is half of a surrogate pair that lacks its other half.
bool IsUnpaired(std::u16string_view s, size_t i) {
  const char16_t c = s[i];
  if (IsHighSurrogate(c)) return i + 1 >= s.size() || !IsLowSurrogate(s[i + 1]);
  if (IsLowSurrogate(c)) return i == 0 || !IsHighSurrogate(s[i - 1]);
  return false;
}

bool IsDeviceName(std::u16string_view name) {
  // Windows takes the part before the first dot, with trailing spaces dropped, as the device.
  std::u16string_view stem = name.substr(0, name.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  static constexpr std::u16string_view kDevices[] = {u"CON", u"PRN",    u"AUX",
                                                     u"NUL", u"CONIN$", u"CONOUT$"};
  for (std::u16string_view device : kDevices) {
    if (SameMacroName(stem, device)) return true;
  }
  if (stem.size() == 4 &&
      (SameMacroName(stem.substr(0, 3), u"COM") || SameMacroName(stem.substr(0, 3), u"LPT"))) {
    const char16_t digit = stem[3];
    return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' ||
           digit == u'\u00B3';
  }
  return false;
}

// Cuts s to at most units, backing off one unit rather than splitting a surrogate pair.
std::u16string CutTo(std::u16string_view s, size_t units) {
  if (s.size() <= units) return std::u16string(s);
  size_t n = units;
  if (n > 0 && IsHighSurrogate(s[n - 1]) && IsLowSurrogate(s[n])) --n;
  return std::u16string(s.substr(0, n));
}

void TrimEnds(std::u16string& s) {
  while (!s.empty() && (s.back() == u' ' || s.back() == u'.')) s.pop_back();
  size_t lead = 0;
  while (lead < s.size() && s[lead] == u' ') ++lead;
  s.erase(0, lead);
}

bool IsPathSeparator(char16_t c) { return c == kFolderSeparator || c == u'/'; }

}  // namespace

char16_t UpperCaseUnit(char16_t c) {
  // In a run of case pairs that starts with an upper-case letter at first, the lower-case
  // letters sit at odd offsets, one above their capital.
  auto lowerOfPair = [c](char16_t first, char16_t last) {
    return c >= first && c <= last && ((c - first) & 1) != 0;
  };
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (c == 0xB5) return 0x39C;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  // Latin Extended-A, apart from the dotted and dotless i and the long s.
  if (lowerOfPair(0x100, 0x12F) || lowerOfPair(0x132, 0x137) || lowerOfPair(0x139, 0x148) ||
      lowerOfPair(0x14A, 0x177) || lowerOfPair(0x179, 0x17E))
    return static_cast<char16_t>(c - 1);
  // Greek.
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return static_cast<char16_t>(c - 37);
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x3B1 && c <= 0x3CB) return static_cast<char16_t>(c - 32);
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return static_cast<char16_t>(c - 63);
  // Cyrillic.
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  if (lowerOfPair(0x460, 0x481) || lowerOfPair(0x48A, 0x4BF) || lowerOfPair(0x4D0, 0x52F))
    return static_cast<char16_t>(c - 1);
  if (lowerOfPair(0x4C1, 0x4CE)) return static_cast<char16_t>(c - 1);
  if (c == 0x4CF) return 0x4C0;
  // Armenian.
  if (c >= 0x561 && c <= 0x586) return static_cast<char16_t>(c - 48);
  // Latin Extended Additional.
  if (lowerOfPair(0x1E00, 0x1E95) || lowerOfPair(0x1EA0, 0x1EFF))
    return static_cast<char16_t>(c - 1);
  // Full-width Latin.
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 32);
  return c;
}

bool SameMacroName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && UpperCaseUnit(a[i]) != UpperCaseUnit(b[i])) return false;
  }
  return true;
}

bool IsValidMacroName(std::u16string_view name) {
  if (name.empty() || name.size() > static_cast<size_t>(kMacroNameChars)) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsForbiddenUnit(name[i]) || IsUnpaired(name, i)) return false;
  }
  if (name.back() == u'.' || name.back() == u' ' || name.front() == u' ') return false;
  if (name.size() >= 2 && name.front() == u'\'' && name.back() == u'\'') return false;
  return !IsDeviceName(name);
}

int FindMacroName(const MacroLibrary& library, std::u16string_view name, int except) {
  const int count = std::clamp(library.MacroCount, 0, kMaxMacros);
  for (int i = 0; i < count; ++i) {
    if (i != except && SameMacroName(NameView(library.Macros[i].Name), name)) return i;
  }
  return -1;
}

std::u16string LimitMacroName(std::u16string_view name) { return CutTo(name, kMacroNameChars); }

std::u16string UsableMacroName(std::u16string_view base) {
  std::u16string name(base);
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsForbiddenUnit(name[i]) || IsUnpaired(name, i)) name[i] = u'_';
  }
  TrimEnds(name);
  name = CutTo(name, kMacroNameChars);
  TrimEnds(name);
  if (name.empty()) name = kDefaultName;
  return name;
}

std::u16string UniqueMacroName(const MacroLibrary& library, std::u16string_view base, int except) {
  const std::u16string name = UsableMacroName(base);
  // From " (2)" on a candidate ends in ')' and starts like name, so it is valid; the library
  // holds at most kMaxMacros names, so one of the first kMaxMacros + 1 candidates is free.
  for (int n = 1; n <= kMaxMacros + 2; ++n) {
    std::u16string candidate;
    if (n == 1) {
      candidate = name;
    } else {
      const std::u16string suffix = u" (" + text::DecimalText(n) + u")";
      candidate = CutTo(name, kMacroNameChars - suffix.size()) + suffix;
    }
    if (IsValidMacroName(candidate) && FindMacroName(library, candidate, except) < 0)
      return candidate;
  }
  return name;  // not reached
}

std::u16string MacroNameFromPath(std::u16string_view path) {
  size_t start = path.size();
  while (start > 0 && !IsPathSeparator(path[start - 1])) --start;
  std::u16string_view file = path.substr(start);
  const size_t dot = file.rfind(u'.');
  if (dot != std::u16string_view::npos) file = file.substr(0, dot);
  return std::u16string(file);
}

}  // namespace corvane
