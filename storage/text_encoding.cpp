#include "storage/text_encoding.h"

namespace corvane::text {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined map to the C1
// control of the same value, as the system's conversion does, so every byte survives a round trip.
constexpr char16_t k1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// Length of the valid UTF-8 sequence at s[i] with its code point, or 0 when invalid.
size_t Utf8Sequence(std::string_view s, size_t i, char32_t* cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  }
  size_t len;
  char32_t min;
  char32_t v;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, min = 0x80, v = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, min = 0x800, v = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, min = 0x10000, v = b0 & 0x07;
  } else {
    return 0;
  }
  if (s.size() - i < len) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    v = (v << 6) | (b & 0x3F);
  }
  if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  *cp = v;
  return len;
}

void AppendCodePoint(char32_t cp, std::u16string* out) {
  if (cp < 0x10000) {
    out->push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf16Le(std::string_view bytes, std::u16string& out) {
  out.reserve(out.size() + bytes.size() / 2 + 1);
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  if (i < bytes.size()) out.push_back(kReplacement);
}

std::u16string Utf16LeToUtf16(std::string_view bytes) {
  std::u16string out;
  AppendUtf16Le(bytes, out);
  return out;
}

}  // namespace

std::u16string DecimalText(int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

bool IsValidUtf8(std::string_view bytes) {
  char32_t cp;
  for (size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t n = Utf8Sequence(bytes, i, &cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  char32_t cp;
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    const size_t n = Utf8Sequence(bytes, i, &cp);
    if (n == 0) {
      out.push_back(kReplacement);
      ++i;
    } else {
      AppendCodePoint(cp, &out);
      i += n;
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return out;
}

std::u16string Windows1252ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out.push_back(b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : static_cast<char16_t>(b));
  }
  return out;
}

bool EncodeWindows1252(std::u16string_view text, std::string* out) {
  out->clear();
  out->reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out->push_back(static_cast<char>(c));
      continue;
    }
    int found = -1;
    for (int k = 0; k < 32; ++k) {
      if (k1252High[k] == c) {
        found = k;
        break;
      }
    }
    if (found < 0) return false;
    out->push_back(static_cast<char>(0x80 + found));
  }
  return true;
}

DetectedEncoding Detect(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE")) return {Encoding::kUtf16Le, 2};
  // A marked file is UTF-8 even where a byte is broken; such a byte reads as U+FFFD.
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return {Encoding::kUtf8, 3};
  if (IsValidUtf8(bytes)) return {Encoding::kUtf8, 0};
  return {Encoding::kWindows1252, 0};
}

std::u16string DecodeAs(std::string_view bytes, Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf16Le: return Utf16LeToUtf16(bytes);
    case Encoding::kWindows1252: return Windows1252ToUtf16(bytes);
    case Encoding::kUtf8: break;
  }
  return Utf8ToUtf16(bytes);
}

void DecodeInto(std::string_view bytes, Encoding encoding, std::u16string& out) {
  out.clear();
  if (encoding == Encoding::kUtf16Le) {
    AppendUtf16Le(bytes, out);
    return;
  }
  // Both one-byte encodings read ASCII as itself. (Not assign(first, last): from another
  // character type it builds a temporary string.)
  out.resize(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x80) {
      out = DecodeAs(bytes, encoding);
      return;
    }
    out[i] = b;
  }
}

DecodedText Decode(std::string_view bytes) {
  const DetectedEncoding detected = Detect(bytes);
  DecodedText d;
  d.encoding = detected.encoding;
  d.bom = detected.bom_size > 0;
  d.text = DecodeAs(bytes.substr(detected.bom_size), detected.encoding);
  return d;
}

std::string Encode(std::u16string_view text, Encoding encoding, bool bom) {
  std::string out;
  switch (encoding) {
    case Encoding::kUtf16Le:
      out.reserve(2 + text.size() * 2);
      if (bom) out.append("\xFF\xFE");
      for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
      }
      return out;
    case Encoding::kUtf8:
      if (bom) out.append("\xEF\xBB\xBF");
      out.append(Utf16ToUtf8(text));
      return out;
    case Encoding::kWindows1252: {
      std::string encoded;
      if (!EncodeWindows1252(text, &encoded)) {
        encoded.clear();
        for (char16_t c : text) {
          std::string one;
          encoded.push_back(EncodeWindows1252(std::u16string_view(&c, 1), &one) ? one[0] : '?');
        }
      }
      return encoded;  // the code page has no byte-order mark
    }
  }
  return out;
}

}  // namespace corvane::text
