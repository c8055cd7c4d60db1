#include "storage/strings.h"

#include <algorithm>
#include <iterator>

#include "storage/app_folder.h"
#include "storage/profile.h"

namespace corvane {
namespace {

struct BuiltinEntry {
  uint32_t Id;
  std::u16string_view Text;
};

constexpr BuiltinEntry kBuiltin[] = {
#define CORVANE_STRING(id, sym, text) {id, u"" text},
#include "resources/strings.def"
#undef CORVANE_STRING
};

constexpr bool IsStrictlyAscending() {
  for (size_t i = 1; i < std::size(kBuiltin); ++i) {
    if (kBuiltin[i - 1].Id >= kBuiltin[i].Id) return false;
  }
  return true;
}
// The lookup is a binary search, so strings.def must stay sorted by identifier.
static_assert(IsStrictlyAscending(), "strings.def must list identifiers in ascending order");

std::u16string CutToCapacity(std::u16string text, size_t capacity) {
  if (capacity == 0) return {};
  if (text.size() <= capacity - 1) return text;
  size_t n = capacity - 1;
  if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  text.resize(n);
  return text;
}

std::u16string DecimalText(uint32_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

}  // namespace

std::u16string_view BuiltinString(uint32_t id) {
  auto it = std::lower_bound(std::begin(kBuiltin), std::end(kBuiltin), id,
                             [](const BuiltinEntry& e, uint32_t v) { return e.Id < v; });
  if (it == std::end(kBuiltin) || it->Id != id) return {};
  return it->Text;
}

std::u16string LoadLocalizedString(uint32_t id, uint32_t language, size_t capacity) {
  if (language != 0) {
    std::u16string translated = CutToCapacity(
        profile::ReadString(LanguageFilePath(language), u"Strings", DecimalText(id), u""),
        capacity);
    if (!translated.empty()) return translated;
  }
  return CutToCapacity(std::u16string(BuiltinString(id)), capacity);
}

std::u16string LoadKeyName(uint32_t vk, uint32_t language) {
  if (vk > 255) return {};
  return LoadLocalizedString(kKeyNameBase + vk, language, kListItemCapacity);
}

std::u16string FormatMessageText(std::u16string_view text, std::u16string_view arg1) {
  std::u16string out;
  out.reserve(text.size() + arg1.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] == u'1') {
      out.append(arg1);
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace corvane
