// The profile engine over arbitrary file bytes: parse, query, write one key, serialize, and read
// the key back from the written bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/profile.h"

using corvane::profile::Document;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Document doc = Document::Parse(bytes);

  // Names made of the input's first bytes reach the odd corners: blanks, brackets, '=', breaks.
  std::u16string names;
  for (size_t i = 0; i < size && i < 12; ++i) names.push_back(static_cast<char16_t>(data[i]));
  const std::u16string_view section = std::u16string_view(names).substr(0, names.size() / 2);
  const std::u16string_view key = std::u16string_view(names).substr(names.size() / 2);

  unsigned char record[280] = {};
  for (std::u16string_view s : {section, std::u16string_view(u"Buttons")}) {
    for (std::u16string_view k : {key, std::u16string_view(u"1")}) {
      (void)doc.Get(s, k);
      (void)doc.GetString(s, k, u"default ");
      (void)doc.GetInt(s, k, 7);
      (void)doc.GetHex(s, k, 0x3a7c);
      (void)doc.GetStruct(s, k, record, sizeof record);
      (void)doc.GetStruct(s, k, record, 8);
    }
  }
  (void)doc.Set(section, key, std::u16string_view(names).substr(names.empty() ? 0 : 1));
  (void)doc.Serialize();

  if (!doc.Set(u"Fuzz", u"Key", u"v 1") || !doc.SetStruct(u"Fuzz", u"Record", record, 8)) {
    std::abort();
  }
  const Document again = Document::Parse(doc.Serialize());
  unsigned char back[8];
  if (again.GetString(u"Fuzz", u"Key", u"") != u"v 1" ||
      !again.GetStruct(u"Fuzz", u"Record", back, sizeof back)) {
    std::abort();  // a written key must read back
  }
  return 0;
}
