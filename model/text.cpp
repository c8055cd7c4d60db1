#include "model/text.h"

namespace corvane {

std::u16string_view NameView(const char16_t* field, size_t capacity) {
  if (field == nullptr) return {};
  size_t n = 0;
  while (n < capacity && field[n] != u'\0') ++n;
  return {field, n};
}

void CopyName(char16_t* field, size_t capacity, std::u16string_view src) {
  if (field == nullptr || capacity == 0) return;
  size_t n = src.size() < capacity - 1 ? src.size() : capacity - 1;
  if (n < src.size() && n > 0 && src[n - 1] >= 0xD800 && src[n - 1] <= 0xDBFF) --n;
  for (size_t i = 0; i < n; ++i) field[i] = src[i];
  for (size_t i = n; i < capacity; ++i) field[i] = u'\0';
}

bool NameEquals(const char16_t* field, size_t capacity, std::u16string_view name) {
  return NameView(field, capacity) == name;
}

}  // namespace corvane
