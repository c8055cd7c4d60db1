// The profile (INI) engine: the reading and writing rules of the Windows profile functions on
// every platform. Names of sections and keys compare without regard to case and are trimmed;
// values are trimmed and lose one pair of matching quotes; the first matching section and key win;
// a missing file, section or key gives the default. A write replaces the value in place and keeps
// every other line as it was; a new key goes after the last non-blank line of its section, a new
// section at the end of the file. Files are read as UTF-16LE, UTF-8 or Windows-1252 and written
// back in the encoding they had; a new file is UTF-8 without byte-order mark.
//
// Nothing is cached between calls: each one-shot function parses the file once, and a Document
// holds what was read when it was loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "storage/text_encoding.h"

namespace corvane::profile {

// A parsed profile file: load once, query many keys, modify, save once. Used by one thread at a
// time, even through const functions (a lookup may index its section).
class Document {
 public:
  Document() = default;  // as for a missing file

  // A missing or unreadable file gives an empty document; Exists() is false for both.
  static Document Load(const std::u16string& path);
  // The document of these file bytes (Exists() is true).
  static Document Parse(std::string_view bytes);

  bool Exists() const { return state_ == State::kRead; }
  // Something was at the path but could not be read: Save refuses to replace it, since the
  // document does not hold what the file holds.
  bool Unreadable() const { return state_ == State::kUnreadable; }
  // A Set changed the document since it was loaded.
  bool Modified() const { return modified_; }
  text::Encoding encoding() const { return encoding_; }
  bool has_bom() const { return bom_; }

  // The value as GetPrivateProfileStringW returns it (trimmed, one pair of quotes removed), or
  // nothing for a missing section or key.
  std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;
  // Trailing spaces of the default are dropped, as the system does.
  std::u16string GetString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view def) const;
  // As GetPrivateProfileIntW: an empty value gives def; otherwise leading blanks, a sign, a base
  // prefix 0x/0o/0b and the digits up to the first other character, modulo 2^32.
  int32_t GetInt(std::u16string_view section, std::u16string_view key, int32_t def) const;
  // A missing key gives def. Else at most 63 characters: leading blanks and an optional 0x are
  // skipped, hexadecimal digits of either case up to the first other character, 0 without any.
  uint32_t GetHex(std::u16string_view section, std::u16string_view key, uint32_t def) const;
  // Exactly 2n+2 hexadecimal digits whose last pair is the low 8 bits of the sum of the n bytes.
  // False, with out untouched, otherwise.
  bool GetStruct(std::u16string_view section, std::u16string_view key, void* out, size_t n) const;

  // Every key line of the first section of that name, in file order, duplicates included (the
  // first of a name is the one the Get functions read): its trimmed name and its raw value, as
  // GetStruct reads it. One pass over the section, for a reader of all its keys; the views last
  // for the call only.
  using KeyVisitor = std::function<void(std::u16string_view name, std::u16string_view value)>;
  void ForEachKey(std::u16string_view section, const KeyVisitor& visit) const;

  // False, and nothing changed, for names that cannot be stored: empty after trimming, holding a
  // line break or NUL, a key starting with '[' or holding '='. A value is cut at its first line
  // break or NUL, so it cannot add lines to the file, and loses its leading blanks.
  bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  bool SetInt(std::u16string_view section, std::u16string_view key, int32_t v);   // "%d"
  bool SetHex(std::u16string_view section, std::u16string_view key, uint32_t v);  // "%lx"
  // Upper-case digit pairs and the checksum pair.
  bool SetStruct(std::u16string_view section, std::u16string_view key, const void* data, size_t n);

  // The file bytes in the document's encoding. A Windows-1252 document holding a character the
  // code page lacks becomes UTF-8 with byte-order mark: every character is kept, and the mark tells
  // every later reader what the bytes are.
  std::string Serialize() const;
  // Writes a temporary file beside path and replaces path with it: a failed save leaves the old
  // file whole.
  bool Save(const std::u16string& path) const;

 private:
  enum class State : uint8_t { kNone, kRead, kUnreadable };
  enum class Eol : uint8_t { kNone, kCrLf, kLf, kCr };
  enum class Change : uint8_t { kInvalid, kUnchanged, kChanged };
  static constexpr uint32_t kEdited = 0xFFFFFFFFu;
  static constexpr uint32_t kNoKeys = 0xFFFFFFFFu;
  // A line as read is its bytes in raw_ (text and line break) and is written back as they are,
  // so what no Set touched keeps every byte, even one the encoding cannot decode. A changed or
  // added line is an entry of edits_. Eight bytes a line keep a file of empty lines or headers
  // at a small multiple of its size.
  struct Line {
    uint32_t begin;  // offset in raw_, or the index into edits_ when size is kEdited
    uint32_t size;   // bytes of text and line break
  };
  struct Edit {
    std::u16string text;
    Eol eol = Eol::kNone;
    // Only the line break was added: the text is still the bytes raw_[raw_begin, +raw_size).
    bool raw_text = false;
    uint32_t raw_begin = 0;
    uint32_t raw_size = 0;
  };
  struct Section {
    uint32_t first_line;  // its header; section 0 holds the lines before the first header
    uint32_t keys;        // index into key_maps_; only the first section of a name is read
  };
  using KeyMap = std::unordered_map<std::u16string, uint32_t>;  // folded name -> line - first_line
  // Built at the first lookup in its section: a file read in one pass (ForEachKey) or only in
  // part never pays for indexing every key. So a const Document is still one thread's at a time.
  struct KeyIndex {
    KeyMap names;
    bool built = false;
  };

  static Document FromBytes(std::string bytes);
  size_t SectionEnd(size_t section) const;
  KeyMap& Keys(size_t section) const;
  std::string_view RawText(const Line& line, Eol* eol) const;
  Eol LineEol(size_t line) const;
  std::u16string LineText(size_t line) const;
  void LineTextInto(size_t line, std::u16string& out) const;
  size_t FindKey(std::u16string_view section, std::u16string_view key) const;
  void ReplaceLine(size_t line, std::u16string text);
  void EnsureLineBreak(size_t line);
  void InsertLine(size_t at, std::u16string text);
  Change Apply(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  std::string raw_;  // the file's bytes, its byte-order mark first
  std::vector<Line> lines_;
  std::vector<Edit> edits_;
  std::vector<Section> sections_;
  mutable std::vector<KeyIndex> key_maps_;
  std::unordered_map<std::u16string, uint32_t> section_index_;  // folded name -> first section
  text::Encoding encoding_ = text::Encoding::kUtf8;
  uint8_t bom_size_ = 0;
  bool bom_ = false;
  bool modified_ = false;
  State state_ = State::kNone;
};

// One-shot helpers mirroring the Win32 profile functions; each parses the file once.
std::u16string ReadString(const std::u16string& path, std::u16string_view section,
                          std::u16string_view key, std::u16string_view def);
int32_t ReadInt(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                int32_t def);
uint32_t ReadHex(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                 uint32_t def);
bool ReadStruct(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                void* out, size_t n);
// A write that changes nothing leaves the file untouched and succeeds. A file that is there but
// cannot be read is never replaced.
bool WriteString(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                 std::u16string_view value);
bool WriteInt(const std::u16string& path, std::u16string_view section, std::u16string_view key,
              int32_t v);
bool WriteHex(const std::u16string& path, std::u16string_view section, std::u16string_view key,
              uint32_t v);
bool WriteStruct(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                 const void* data, size_t n);

// A raw value (as ForEachKey gives it) read as GetInt reads its key's.
int32_t IntValue(std::u16string_view value, int32_t def);
// The value of a structure key: exactly 2n+2 hexadecimal digits whose last pair is the low 8 bits
// of the sum of the n bytes. False, with out untouched, otherwise.
bool DecodeStruct(std::u16string_view value, void* out, size_t n);

// Upper-cases the letters of the common scripts, so names compare without regard to case.
std::u16string FoldCase(std::u16string_view s);

}  // namespace corvane::profile
