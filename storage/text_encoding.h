// Byte encodings of the profile files: UTF-16LE, UTF-8 and the legacy ANSI code page
// Windows-1252. Decoding and encoding back are lossless for every file we detect, so a file can be
// edited line by line and written back byte for byte where it did not change.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::text {

enum class Encoding : uint8_t { kUtf8, kUtf16Le, kWindows1252 };

struct DecodedText {
  std::u16string text;
  Encoding encoding = Encoding::kUtf8;
  bool bom = false;
};

// Detects the encoding: a UTF-16LE or UTF-8 byte-order mark, else valid UTF-8 (plain ASCII
// included), else Windows-1252. An odd last byte of a UTF-16LE file decodes as U+FFFD.
DecodedText Decode(std::string_view bytes);

struct DetectedEncoding {
  Encoding encoding = Encoding::kUtf8;
  size_t bom_size = 0;  // bytes of the byte-order mark at the start, 0 without one
};
// The encoding Decode would find, without decoding.
DetectedEncoding Detect(std::string_view bytes);
// bytes (without byte-order mark) as text of encoding; what cannot be decoded becomes U+FFFD.
std::u16string DecodeAs(std::string_view bytes, Encoding encoding);
// The same into out, whose storage is reused: decoding many short lines costs no allocation each.
void DecodeInto(std::string_view bytes, Encoding encoding, std::u16string& out);

// Encodes with the byte-order mark when bom is set (Windows-1252 has none). Windows-1252 text that
// holds a character the code page lacks is encoded as '?' there; use EncodeWindows1252 to find out
// first.
std::string Encode(std::u16string_view text, Encoding encoding, bool bom);

// A number as the settings and language files spell it: decimal digits, '-' before a negative.
std::u16string DecimalText(int64_t value);

bool IsValidUtf8(std::string_view bytes);
// Invalid sequences decode as U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);
// An unpaired surrogate encodes as U+FFFD: writing it as is would make the whole file invalid
// UTF-8, and the next read would take it for Windows-1252.
std::string Utf16ToUtf8(std::u16string_view text);

std::u16string Windows1252ToUtf16(std::string_view bytes);
// False, with out unspecified, when text holds a character that Windows-1252 cannot represent.
bool EncodeWindows1252(std::u16string_view text, std::string* out);

}  // namespace corvane::text
