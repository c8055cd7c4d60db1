#include "storage/profile.h"

#include <cstring>
#include <limits>

#include "storage/file_io.h"

namespace corvane::profile {
namespace {

// The system trims names and values of these; 0x1A is the old end-of-file mark.
bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == 0x1A;
}

bool IsBreakOrNul(char16_t c) { return c == u'\r' || c == u'\n' || c == 0; }

std::u16string_view Trim(std::u16string_view s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

char16_t FoldChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  auto pair_even_upper = [c](char16_t lo, char16_t hi) {
    return c >= lo && c <= hi && ((c - lo) & 1) ? static_cast<char16_t>(c - 1) : char16_t{0};
  };
  if (char16_t u = pair_even_upper(0x100, 0x137)) return u;
  if (char16_t u = pair_even_upper(0x14A, 0x177)) return u;
  if (char16_t u = pair_even_upper(0x139, 0x148)) return u;
  if (char16_t u = pair_even_upper(0x179, 0x17E)) return u;
  if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? char16_t{0x3A3} : char16_t(c - 32);
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return static_cast<char16_t>(c - 37);
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return static_cast<char16_t>(c - 63);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  if (char16_t u = pair_even_upper(0x460, 0x481)) return u;
  if (char16_t u = pair_even_upper(0x48A, 0x4BF)) return u;
  if (char16_t u = pair_even_upper(0x4C1, 0x4CE)) return u;
  if (c == 0x4CF) return 0x4C0;
  if (char16_t u = pair_even_upper(0x4D0, 0x52F)) return u;
  if (c >= 0x561 && c <= 0x586) return static_cast<char16_t>(c - 48);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 32);
  return c;
}

struct ParsedLine {
  enum Kind { kBlank, kOther, kHeader, kKey } kind = kBlank;
  std::u16string_view name;   // section or key name
  std::u16string_view value;  // trimmed, quotes kept
  size_t value_start = 0;     // where the value starts in the line (after '=' and blanks)
};

// One line as the system reads it: trimmed; '[' up to the last ']' is a section header;
// otherwise a line with '=' is a key, anything else (';' lines included) is just kept.
ParsedLine ParseLine(std::u16string_view line) {
  ParsedLine p;
  size_t b = 0;
  size_t e = line.size();
  while (b < e && IsBlank(line[b])) ++b;
  while (e > b && IsBlank(line[e - 1])) --e;
  if (b == e) return p;
  if (line[b] == u'[') {
    const size_t close = line.substr(0, e).rfind(u']');
    if (close != std::u16string_view::npos && close > b) {
      p.kind = ParsedLine::kHeader;
      p.name = line.substr(b + 1, close - b - 1);
      return p;
    }
  }
  const size_t eq = line.substr(0, e).find(u'=', b);
  if (eq == std::u16string_view::npos) {
    p.kind = ParsedLine::kOther;
    return p;
  }
  p.kind = ParsedLine::kKey;
  size_t name_end = eq;
  while (name_end > b && IsBlank(line[name_end - 1])) --name_end;
  p.name = line.substr(b, name_end - b);
  size_t v = eq + 1;
  while (v < e && IsBlank(line[v])) ++v;
  p.value_start = v;
  p.value = line.substr(v, e - v);
  return p;
}

std::u16string_view StripQuotes(std::u16string_view v) {
  if (v.size() >= 2 && (v[0] == u'"' || v[0] == u'\'') && v.back() == v[0]) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

std::u16string_view EolText(uint8_t eol) {
  switch (eol) {
    case 1: return u"\r\n";
    case 2: return u"\n";
    case 3: return u"\r";
    default: return u"";
  }
}

template <typename SetFn>
bool WriteWith(const std::u16string& path, SetFn set) {
  Document doc = Document::Load(path);
  if (doc.Unreadable() || !set(doc)) return false;
  if (doc.Exists() && !doc.Modified()) return true;
  return doc.Save(path);
}

}  // namespace

std::u16string FoldCase(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) c = FoldChar(c);
  return out;
}

int32_t IntValue(std::u16string_view value, int32_t def) {
  value = StripQuotes(value);
  if (value.empty()) return def;
  // The system reads the value into a 30-unit buffer first, then converts it.
  const std::u16string_view s = value.substr(0, 29);
  size_t i = 0;
  while (i < s.size() && s[i] <= u' ') ++i;
  bool minus = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) minus = s[i++] == u'-';
  uint32_t base = 10;
  if (i + 1 < s.size() && s[i] == u'0') {
    if (s[i + 1] == u'x')
      base = 16;
    else if (s[i + 1] == u'o')
      base = 8;
    else if (s[i + 1] == u'b')
      base = 2;
    if (base != 10) i += 2;
  }
  uint32_t total = 0;
  for (; i < s.size(); ++i) {
    const char16_t c = s[i];
    uint32_t digit;
    if (c >= u'0' && c <= u'9')
      digit = c - u'0';
    else if (c >= u'A' && c <= u'Z')
      digit = c - u'A' + 10;
    else if (c >= u'a' && c <= u'z')
      digit = c - u'a' + 10;
    else
      break;
    if (digit >= base) break;
    total = total * base + digit;  // wraps modulo 2^32 like the system's conversion
  }
  if (minus) total = 0u - total;
  return static_cast<int32_t>(total);
}

bool DecodeStruct(std::u16string_view value, void* out, size_t n) {
  if (n > (std::numeric_limits<size_t>::max() - 2) / 2 || value.size() != 2 * n + 2) return false;
  for (char16_t c : value) {
    if (HexDigit(c) < 0) return false;
  }
  auto byte_at = [value](size_t k) {
    return static_cast<unsigned>(HexDigit(value[2 * k]) << 4 | HexDigit(value[2 * k + 1]));
  };
  unsigned sum = 0;
  for (size_t k = 0; k < n; ++k) sum += byte_at(k);
  if (byte_at(n) != (sum & 0xFF)) return false;
  auto* bytes = static_cast<unsigned char*>(out);
  for (size_t k = 0; k < n; ++k) bytes[k] = static_cast<unsigned char>(byte_at(k));
  return true;
}

Document Document::Load(const std::u16string& path) {
  file_io::ReadResult r = file_io::ReadWholeFile(path);
  if (r.status == file_io::ReadStatus::kOk) return FromBytes(std::move(r.bytes));
  Document d;
  if (r.status == file_io::ReadStatus::kError) d.state_ = State::kUnreadable;
  return d;
}

Document Document::Parse(std::string_view bytes) { return FromBytes(std::string(bytes)); }

Document Document::FromBytes(std::string bytes) {
  Document d;
  d.state_ = State::kRead;
  d.raw_ = std::move(bytes);
  const text::DetectedEncoding detected = text::Detect(d.raw_);
  d.encoding_ = detected.encoding;
  d.bom_size_ = static_cast<uint8_t>(detected.bom_size);
  d.bom_ = detected.bom_size > 0;

  const std::string& raw = d.raw_;
  const size_t n = raw.size();
  const size_t unit = d.encoding_ == text::Encoding::kUtf16Le ? 2 : 1;
  auto at = [&](size_t pos) -> char16_t {
    const auto lo = static_cast<unsigned char>(raw[pos]);
    return unit == 1 ? char16_t{lo}
                     : static_cast<char16_t>(lo | static_cast<unsigned char>(raw[pos + 1]) << 8);
  };
  // Counted first, so the tables are allocated once at their size: a file of millions of short
  // lines must not cost twice their size while a vector grows.
  size_t line_count = 1;
  size_t header_bound = 1;
  bool line_start = true;
  for (size_t pos = d.bom_size_; pos + unit <= n; pos += unit) {
    const char16_t c = at(pos);
    if (c == u'\n' || (c == u'\r' && !(pos + 2 * unit <= n && at(pos + unit) == u'\n'))) {
      ++line_count;
      line_start = true;
    } else if (line_start && !IsBlank(c) && c != u'\r') {
      if (c == u'[') ++header_bound;
      line_start = false;
    }
  }
  d.lines_.reserve(line_count);
  d.sections_.reserve(header_bound);
  d.sections_.push_back(Section{0, kNoKeys});  // the lines before the first header

  std::u16string text;  // one line's text; its storage serves every line
  size_t pos = d.bom_size_;
  while (pos < n) {
    size_t end = pos;
    while (end + unit <= n && at(end) != u'\r' && at(end) != u'\n') end += unit;
    if (end + unit > n) end = n;  // an odd last byte of UTF-16 belongs to the last line's text
    const size_t text_end = end;
    if (end < n) {
      if (at(end) == u'\r' && end + 2 * unit <= n && at(end + unit) == u'\n') end += unit;
      end += unit;
    }
    const auto index = static_cast<uint32_t>(d.lines_.size());
    d.lines_.push_back(Line{static_cast<uint32_t>(pos), static_cast<uint32_t>(end - pos)});
    // Only headers are found now; a section's keys are indexed when one is first looked up.
    size_t first = pos;
    while (first < text_end && IsBlank(at(first))) first += unit;
    if (first < text_end && at(first) == u'[') {
      text::DecodeInto(std::string_view(raw).substr(pos, text_end - pos), d.encoding_, text);
      const ParsedLine p = ParseLine(text);
      if (p.kind == ParsedLine::kHeader) {
        uint32_t keys = kNoKeys;
        if (d.section_index_.emplace(FoldCase(p.name), static_cast<uint32_t>(d.sections_.size()))
                .second) {
          keys = static_cast<uint32_t>(d.key_maps_.size());
          d.key_maps_.emplace_back();
        }
        d.sections_.push_back(Section{index, keys});
      }
    }
    pos = end;
  }
  return d;
}

Document::KeyMap& Document::Keys(size_t section) const {
  KeyIndex& index = key_maps_[sections_[section].keys];
  if (!index.built) {
    index.built = true;
    const size_t first = sections_[section].first_line;
    std::u16string text;
    for (size_t line = first + 1; line < SectionEnd(section); ++line) {
      LineTextInto(line, text);
      const ParsedLine p = ParseLine(text);
      if (p.kind == ParsedLine::kKey && !p.name.empty())
        index.names.emplace(FoldCase(p.name), static_cast<uint32_t>(line - first));
    }
  }
  return index.names;
}

size_t Document::SectionEnd(size_t section) const {
  return section + 1 < sections_.size() ? sections_[section + 1].first_line : lines_.size();
}

std::string_view Document::RawText(const Line& line, Eol* eol) const {
  std::string_view bytes = std::string_view(raw_).substr(line.begin, line.size);
  *eol = Eol::kNone;
  const size_t unit = encoding_ == text::Encoding::kUtf16Le ? 2 : 1;
  // Only the last line of UTF-16 can have an odd size: its odd byte ends the file, no break.
  if (bytes.size() % unit != 0) return bytes;
  auto last_is = [&](char c) {
    return bytes.size() >= unit && bytes[bytes.size() - unit] == c &&
           (unit == 1 || bytes.back() == 0);
  };
  if (last_is('\n')) {
    bytes.remove_suffix(unit);
    *eol = Eol::kLf;
    if (last_is('\r')) {
      bytes.remove_suffix(unit);
      *eol = Eol::kCrLf;
    }
  } else if (last_is('\r')) {
    bytes.remove_suffix(unit);
    *eol = Eol::kCr;
  }
  return bytes;
}

Document::Eol Document::LineEol(size_t line) const {
  const Line& l = lines_[line];
  if (l.size == kEdited) return edits_[l.begin].eol;
  Eol eol;
  RawText(l, &eol);
  return eol;
}

std::u16string Document::LineText(size_t line) const {
  std::u16string text;
  LineTextInto(line, text);
  return text;
}

void Document::LineTextInto(size_t line, std::u16string& out) const {
  const Line& l = lines_[line];
  if (l.size == kEdited) {
    const Edit& e = edits_[l.begin];
    if (!e.raw_text) {
      out = e.text;
      return;
    }
    text::DecodeInto(std::string_view(raw_).substr(e.raw_begin, e.raw_size), encoding_, out);
    return;
  }
  Eol eol;
  text::DecodeInto(RawText(l, &eol), encoding_, out);
}

void Document::ReplaceLine(size_t line, std::u16string text) {
  Line& l = lines_[line];
  if (l.size == kEdited) {
    Edit& e = edits_[l.begin];
    e.text = std::move(text);
    e.raw_text = false;
    return;
  }
  Edit e;
  e.text = std::move(text);
  e.eol = LineEol(line);
  l = Line{static_cast<uint32_t>(edits_.size()), kEdited};
  edits_.push_back(std::move(e));
}

void Document::EnsureLineBreak(size_t line) {
  Line& l = lines_[line];
  if (l.size == kEdited) {
    Edit& e = edits_[l.begin];
    if (e.eol == Eol::kNone) e.eol = Eol::kCrLf;
    return;
  }
  Eol eol;
  const std::string_view bytes = RawText(l, &eol);
  if (eol != Eol::kNone) return;
  Edit e;
  e.eol = Eol::kCrLf;
  e.raw_text = true;
  e.raw_begin = static_cast<uint32_t>(bytes.data() - raw_.data());
  e.raw_size = static_cast<uint32_t>(bytes.size());
  l = Line{static_cast<uint32_t>(edits_.size()), kEdited};
  edits_.push_back(std::move(e));
}

void Document::InsertLine(size_t at, std::u16string text) {
  Edit e;
  e.text = std::move(text);
  e.eol = Eol::kCrLf;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                Line{static_cast<uint32_t>(edits_.size()), kEdited});
  edits_.push_back(std::move(e));
  // Key positions count from their section's header, so only later headers move.
  for (Section& sec : sections_) {
    if (sec.first_line >= at && &sec != &sections_[0]) ++sec.first_line;
  }
}

size_t Document::FindKey(std::u16string_view section, std::u16string_view key) const {
  constexpr size_t kNone = static_cast<size_t>(-1);
  section = Trim(section);
  key = Trim(key);
  if (section.empty() || key.empty()) return kNone;
  const auto s = section_index_.find(FoldCase(section));
  if (s == section_index_.end()) return kNone;
  const KeyMap& keys = Keys(s->second);
  const auto k = keys.find(FoldCase(key));
  return k == keys.end() ? kNone : sections_[s->second].first_line + k->second;
}

std::optional<std::u16string> Document::Get(std::u16string_view section,
                                            std::u16string_view key) const {
  const size_t line = FindKey(section, key);
  if (line == static_cast<size_t>(-1)) return std::nullopt;
  const std::u16string text = LineText(line);
  return std::u16string(StripQuotes(ParseLine(text).value));
}

std::u16string Document::GetString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view def) const {
  if (std::optional<std::u16string> v = Get(section, key)) return *v;
  while (!def.empty() && def.back() == u' ') def.remove_suffix(1);
  return std::u16string(def);
}

int32_t Document::GetInt(std::u16string_view section, std::u16string_view key, int32_t def) const {
  const size_t line = FindKey(section, key);
  if (line == static_cast<size_t>(-1)) return def;
  return IntValue(ParseLine(LineText(line)).value, def);
}

uint32_t Document::GetHex(std::u16string_view section, std::u16string_view key,
                          uint32_t def) const {
  const std::optional<std::u16string> v = Get(section, key);
  if (!v) return def;
  const std::u16string_view s = std::u16string_view(*v).substr(0, 63);
  size_t i = 0;
  while (i < s.size() && (IsBlank(s[i]) || s[i] == u'\r' || s[i] == u'\n')) ++i;
  if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) i += 2;
  uint32_t total = 0;
  for (int d; i < s.size() && (d = HexDigit(s[i])) >= 0; ++i) {
    total = (total << 4) | static_cast<uint32_t>(d);  // keeps the low 32 bits, the last 8 digits
  }
  return total;
}

bool Document::GetStruct(std::u16string_view section, std::u16string_view key, void* out,
                         size_t n) const {
  const size_t line = FindKey(section, key);
  if (line == static_cast<size_t>(-1)) return false;
  // The raw value: the system's structure read takes no quotes off.
  const std::u16string text = LineText(line);
  return DecodeStruct(ParseLine(text).value, out, n);
}

void Document::ForEachKey(std::u16string_view section, const KeyVisitor& visit) const {
  section = Trim(section);
  if (section.empty()) return;
  const auto s = section_index_.find(FoldCase(section));
  if (s == section_index_.end()) return;
  std::u16string text;
  for (size_t line = sections_[s->second].first_line + 1; line < SectionEnd(s->second); ++line) {
    LineTextInto(line, text);
    const ParsedLine p = ParseLine(text);
    if (p.kind == ParsedLine::kKey && !p.name.empty()) visit(p.name, p.value);
  }
}

Document::Change Document::Apply(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view value) {
  section = Trim(section);
  key = Trim(key);
  auto has_break = [](std::u16string_view s) {
    for (char16_t c : s) {
      if (IsBreakOrNul(c)) return true;
    }
    return false;
  };
  if (section.empty() || key.empty() || has_break(section) || has_break(key) || key[0] == u'[' ||
      key.find(u'=') != std::u16string_view::npos) {
    return Change::kInvalid;
  }
  for (size_t i = 0; i < value.size(); ++i) {
    if (IsBreakOrNul(value[i])) {
      value = value.substr(0, i);
      break;
    }
  }
  while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);

  if (sections_.empty()) sections_.push_back(Section{0, kNoKeys});
  const std::u16string folded_section = FoldCase(section);
  const auto s = section_index_.find(folded_section);
  if (s != section_index_.end()) {
    const size_t index = s->second;
    KeyMap& keys = Keys(index);
    const std::u16string folded_key = FoldCase(key);
    const auto k = keys.find(folded_key);
    if (k != keys.end()) {
      const size_t line = sections_[index].first_line + k->second;
      std::u16string text = LineText(line);
      const ParsedLine p = ParseLine(text);
      if (p.value == value) return Change::kUnchanged;
      text.resize(p.value_start);
      text.append(value);
      ReplaceLine(line, std::move(text));
      modified_ = true;
      return Change::kChanged;
    }
    // After the last non-blank line: blank lines that end a section stay between the sections.
    const size_t first = sections_[index].first_line;
    size_t at = SectionEnd(index);
    while (at > first + 1 && ParseLine(LineText(at - 1)).kind == ParsedLine::kBlank) --at;
    EnsureLineBreak(at - 1);
    std::u16string text(key);
    text += u'=';
    text.append(value);
    InsertLine(at, std::move(text));
    keys.emplace(folded_key, static_cast<uint32_t>(at - first));  // only blank lines follow it
    modified_ = true;
    return Change::kChanged;
  }
  if (!lines_.empty()) EnsureLineBreak(lines_.size() - 1);
  std::u16string header = u"[";
  header.append(section);
  header += u']';
  const auto first = static_cast<uint32_t>(lines_.size());
  InsertLine(first, std::move(header));
  std::u16string text(key);
  text += u'=';
  text.append(value);
  InsertLine(first + 1, std::move(text));
  KeyMap keys;
  keys.emplace(FoldCase(key), 1u);
  section_index_.emplace(folded_section, static_cast<uint32_t>(sections_.size()));
  sections_.push_back(Section{first, static_cast<uint32_t>(key_maps_.size())});
  key_maps_.push_back(KeyIndex{std::move(keys), true});
  modified_ = true;
  return Change::kChanged;
}

bool Document::Set(std::u16string_view section, std::u16string_view key,
                   std::u16string_view value) {
  return Apply(section, key, value) != Change::kInvalid;
}

bool Document::SetInt(std::u16string_view section, std::u16string_view key, int32_t v) {
  return Set(section, key, text::DecimalText(v));
}

bool Document::SetHex(std::u16string_view section, std::u16string_view key, uint32_t v) {
  static const char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text;
  do {
    text.insert(text.begin(), kDigits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  return Set(section, key, text);
}

bool Document::SetStruct(std::u16string_view section, std::u16string_view key, const void* data,
                         size_t n) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::u16string text;
  text.reserve(2 * n + 2);
  unsigned sum = 0;
  for (size_t k = 0; k < n; ++k) {
    text += kDigits[bytes[k] >> 4];
    text += kDigits[bytes[k] & 0xF];
    sum += bytes[k];
  }
  text += kDigits[(sum >> 4) & 0xF];
  text += kDigits[sum & 0xF];
  return Set(section, key, text);
}

std::string Document::Serialize() const {
  // A legacy file that now holds a character its code page lacks is written as UTF-8 with a
  // byte-order mark: its own bytes decode losslessly, so nothing is lost in the change.
  bool to_utf8 = false;
  if (encoding_ == text::Encoding::kWindows1252) {
    std::string ignored;
    for (const Edit& e : edits_) {
      if (!e.raw_text && !text::EncodeWindows1252(e.text, &ignored)) {
        to_utf8 = true;
        break;
      }
    }
  }
  std::string out;
  if (to_utf8) {
    std::u16string all;
    for (size_t i = 0; i < lines_.size(); ++i) {
      all.append(LineText(i));
      all.append(EolText(static_cast<uint8_t>(LineEol(i))));
    }
    return text::Encode(all, text::Encoding::kUtf8, true);
  }
  out.reserve(raw_.size() + edits_.size() * 32);
  out.append(raw_, 0, bom_size_);
  const bool utf16 = encoding_ == text::Encoding::kUtf16Le;
  for (const Line& line : lines_) {
    if (line.size != kEdited) {
      out.append(raw_, line.begin, line.size);
      continue;
    }
    const Edit& e = edits_[line.begin];
    if (e.raw_text && !(utf16 && e.raw_size % 2 != 0)) {
      out.append(raw_, e.raw_begin, e.raw_size);
    } else if (e.raw_text) {
      out.append(text::Encode(
          text::DecodeAs(std::string_view(raw_).substr(e.raw_begin, e.raw_size), encoding_),
          encoding_, false));
    } else {
      out.append(text::Encode(e.text, encoding_, false));
    }
    out.append(text::Encode(EolText(static_cast<uint8_t>(e.eol)), encoding_, false));
  }
  return out;
}

bool Document::Save(const std::u16string& path) const {
  if (Unreadable()) return false;
  return file_io::WriteWholeFile(path, Serialize());
}

std::u16string ReadString(const std::u16string& path, std::u16string_view section,
                          std::u16string_view key, std::u16string_view def) {
  return Document::Load(path).GetString(section, key, def);
}

int32_t ReadInt(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                int32_t def) {
  return Document::Load(path).GetInt(section, key, def);
}

uint32_t ReadHex(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                 uint32_t def) {
  return Document::Load(path).GetHex(section, key, def);
}

bool ReadStruct(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                void* out, size_t n) {
  return Document::Load(path).GetStruct(section, key, out, n);
}

bool WriteString(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) {
  return WriteWith(path, [&](Document& d) { return d.Set(section, key, value); });
}

bool WriteInt(const std::u16string& path, std::u16string_view section, std::u16string_view key,
              int32_t v) {
  return WriteWith(path, [&](Document& d) { return d.SetInt(section, key, v); });
}

bool WriteHex(const std::u16string& path, std::u16string_view section, std::u16string_view key,
              uint32_t v) {
  return WriteWith(path, [&](Document& d) { return d.SetHex(section, key, v); });
}

bool WriteStruct(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                 const void* data, size_t n) {
  return WriteWith(path, [&](Document& d) { return d.SetStruct(section, key, data, n); });
}

}  // namespace corvane::profile
