#include "storage/language_check.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>

#include "storage/profile.h"
#include "storage/strings.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

struct IdRange {
  uint32_t First;
  uint32_t Last;
};

// Texts the program shows from the built-in table whatever the language. A new text is
// translated unless it is listed here.
constexpr IdRange kBuiltinOnly[] = {
    {IDS_ABOUTBOX, IDS_ABOUTBOX},                // the system menu item
    {IDS_OVERVIEW, IDS_OVERVIEW},                // tab labels (177..179 also title the Overview's
    {IDS_MACROS, IDS_MACROS},                    // groups, so they are translated)
    {IDS_NUM_1000, IDS_ALT_F12},                 // DPI, report-rate and hot key lists: language 0
    {IDS_MACRO_NOT_FOUND, IDS_MACRO_NOT_FOUND},  // message boxes
    {IDS_SAVE_SELECTED_MACRO, IDS_SAVE_SELECTED_MACRO},
    {IDS_CONFIG_TOO_LARGE, IDS_UPLOAD_FAILED},
    {IDS_MACRO_SAVE_FAILED, IDS_MACRO_LIST_SAVE_FAILED},  // the Macros page's failed files
    // the system menu's backup and restore items, their file dialogs and message boxes
    {IDS_BACKUP_CONFIGURATION, IDS_CONFIGURATION_FILTER},
};

constexpr IdRange kKeyNames{512, 767};

constexpr uint32_t kBuiltinIds[] = {
#define CORVANE_STRING(id, sym, text) id,
#include "resources/strings.def"
#undef CORVANE_STRING
};

bool In(const IdRange& r, uint32_t id) { return id >= r.First && id <= r.Last; }

std::string Utf8(std::u16string_view s) { return text::Utf16ToUtf8(s); }

std::u16string Trim(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == u' ' || s[b] == u'\t')) ++b;
  while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t')) --e;
  return std::u16string(s.substr(b, e - b));
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u'\n' || text[i] == u'\r') {
      lines.emplace_back(text.substr(start, i - start));
      if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  return lines;
}

// The identifier a key names, when it is the plain decimal number the lookup asks for.
std::optional<uint32_t> CanonicalId(std::u16string_view key) {
  if (key.empty() || key.size() > 9 || (key[0] == u'0' && key.size() > 1)) return std::nullopt;
  uint32_t v = 0;
  for (char16_t c : key) {
    if (c < u'0' || c > u'9') return std::nullopt;
    v = v * 10 + (c - u'0');
  }
  return v;
}

std::string Join(const std::vector<std::u16string>& items) {
  if (items.empty()) return "none";
  std::string out;
  for (const auto& s : items) out += (out.empty() ? "" : " ") + Utf8(s);
  return out;
}

// Positional placeholders may change their order in a translation; printf ones may not.
std::vector<std::u16string> Comparable(std::vector<std::u16string> p) {
  auto positional = [](const std::u16string& s) {
    return s.size() > 1 && s[1] >= u'1' && s[1] <= u'9';
  };
  auto firstPrintf = std::stable_partition(p.begin(), p.end(), positional);
  std::sort(p.begin(), firstPrintf);
  return p;
}

size_t Mnemonics(std::u16string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u'&') continue;
    if (i + 1 < s.size() && s[i + 1] == u'&') {
      ++i;
      continue;
    }
    ++n;
  }
  return n;
}

}  // namespace

Translation TranslationOf(uint32_t id) {
  if (In(kKeyNames, id)) return Translation::kOptional;
  for (const IdRange& r : kBuiltinOnly)
    if (In(r, id)) return Translation::kNone;
  return BuiltinString(id).empty() ? Translation::kNone : Translation::kRequired;
}

size_t LookupCapacity(uint32_t id) {
  // Event rows, function names in the lists and key names are looked up into 128 units; the
  // captions into 256.
  if (id >= IDS_EVENT_LBUTTON_DOWN && id <= kKeyNames.Last) return kListItemCapacity;
  return kCaptionCapacity;
}

std::vector<std::u16string> Placeholders(std::u16string_view text) {
  auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  auto oneOf = [](char16_t c, std::u16string_view set) {
    return set.find(c) != std::u16string_view::npos;
  };
  std::vector<std::u16string> out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'%') continue;
    if (i + 1 < text.size() && text[i + 1] == u'%') {
      ++i;
      continue;
    }
    // printf: flags, width, precision, length, then the conversion letter. No blank flag, so
    // "50% off" is plain text.
    size_t j = i + 1;
    while (j < text.size() && oneOf(text[j], u"-+#0")) ++j;
    while (j < text.size() && (isDigit(text[j]) || text[j] == u'.' || text[j] == u'*')) ++j;
    while (j < text.size() && oneOf(text[j], u"hlLzjtIw")) ++j;
    if (j < text.size() && oneOf(text[j], u"sSdiuxXcCfgeEpo")) {
      out.emplace_back(text.substr(i, j + 1 - i));
      i = j;
      continue;
    }
    // %1 .. %99, with an optional !format! as FormatMessage takes it.
    j = i + 1;
    if (j >= text.size() || text[j] < u'1' || text[j] > u'9') continue;
    size_t end = j + 1;
    if (end < text.size() && isDigit(text[end])) ++end;
    if (end < text.size() && text[end] == u'!') {
      size_t close = text.find(u'!', end + 1);
      if (close != std::u16string_view::npos) end = close + 1;
    }
    out.emplace_back(text.substr(i, end - i));
    i = end - 1;
  }
  return out;
}

std::vector<LanguageProblem> CheckLanguageFile(std::string_view fileName, std::string_view bytes) {
  std::vector<LanguageProblem> problems;
  auto fileProblem = [&](std::string what) { problems.push_back({0, std::move(what)}); };
  auto problem = [&](uint32_t id, std::string what) { problems.push_back({id, std::move(what)}); };

  std::string_view stem = fileName.substr(0, fileName.rfind('.'));
  bool named = fileName.size() > 4 && fileName.substr(fileName.size() - 4) == ".ini" &&
               CanonicalId(std::u16string(stem.begin(), stem.end())).value_or(0) != 0;
  if (!named) fileProblem("the name is not <language identifier>.ini, so no language reads it");

  text::DecodedText decoded = text::Decode(bytes);
  if (decoded.encoding == text::Encoding::kWindows1252) {
    fileProblem("neither UTF-8 nor UTF-16LE with byte-order mark");
    return problems;
  }
  profile::Document doc = profile::Document::Parse(bytes);

  // The lines as the engine sees them: the first [Strings] section and the first of each key win.
  std::map<uint32_t, size_t> seen;  // id -> line number
  bool inSection = false, inStrings = false, stringsDone = false;
  std::vector<std::u16string> lines = SplitLines(decoded.text);
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string at = "line " + std::to_string(n + 1) + ": ";
    std::u16string line = Trim(lines[n]);
    if (line.empty() || line[0] == u';') continue;
    if (line[0] == u'[') {
      size_t close = line.find(u']');
      std::u16string name = Trim(line.substr(1, close == std::u16string::npos ? close : close - 1));
      bool strings = profile::FoldCase(name) == u"STRINGS";
      if (strings && stringsDone)
        fileProblem(at + "a second [Strings], which the program never reads");
      else if (!strings)
        fileProblem(at + "section [" + Utf8(name) + "], which the program never reads");
      inStrings = strings && !stringsDone;
      stringsDone = stringsDone || strings;
      inSection = true;
      continue;
    }
    if (!inStrings) {
      if (!inSection) fileProblem(at + "outside [Strings]");  // other sections are told once
      continue;
    }
    size_t eq = line.find(u'=');
    if (eq == std::u16string::npos) {
      fileProblem(at + "not <identifier>=<text>");
      continue;
    }
    std::u16string key = Trim(line.substr(0, eq));
    std::optional<uint32_t> id = CanonicalId(key);
    if (!id) {
      fileProblem(at + "key \"" + Utf8(key) + "\" is not an identifier in plain decimal");
      continue;
    }
    if (auto first = seen.find(*id); first != seen.end()) {
      problem(*id, "given again on " + at.substr(0, at.size() - 2) +
                       "; the program reads only line " + std::to_string(first->second));
      continue;
    }
    seen.emplace(*id, n + 1);
  }
  if (!stringsDone) fileProblem("no section [Strings]");

  for (const auto& [id, lineNumber] : seen) {
    Translation kind = TranslationOf(id);
    std::u16string_view english = BuiltinString(id);
    if (kind == Translation::kNone) {
      problem(id, english.empty() ? "no text has this identifier"
                                  : "always shows the built-in text; a translation has no effect");
      continue;
    }
    std::u16string value = doc.GetString(u"Strings", text::DecimalText(id), u"");
    if (value.empty()) {
      problem(id, "empty: the English text shows");
      continue;
    }
    size_t capacity = LookupCapacity(id);
    if (value.size() > capacity - 1)
      problem(id, std::to_string(value.size()) + " characters, more than the " +
                      std::to_string(capacity - 1) + " the lookup holds");
    std::vector<std::u16string> want = Placeholders(english), got = Placeholders(value);
    if (Comparable(want) != Comparable(got))
      problem(id, "placeholders " + Join(got) + ", the English text has " + Join(want));
    if (value.find(u"\\n") != std::u16string::npos &&
        english.find(u"\\n") == std::u16string_view::npos)
      problem(id, "holds \\n, which shows as such: a text is one line");
    if (Mnemonics(value) != Mnemonics(english))
      problem(id, "an & the English text does not have: it underlines the next letter");
  }
  for (uint32_t id : kBuiltinIds) {
    if (TranslationOf(id) == Translation::kRequired && !seen.count(id))
      problem(id,
              "missing (English: \"" + Utf8(BuiltinString(id)) +
                  "\"): translate it, or list it in kBuiltinOnly if the program never looks it up");
  }
  std::stable_sort(problems.begin(), problems.end(),
                   [](const LanguageProblem& a, const LanguageProblem& b) { return a.Id < b.Id; });
  return problems;
}

}  // namespace corvane
