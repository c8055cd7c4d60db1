// Fixed-size UTF-16 name fields (Macro::Name, ButtonAssignment::MacroName): NUL-terminated
// within their capacity, and read defensively because stored records may lack the terminator.
#pragma once

#include <cstddef>
#include <string_view>

namespace corvane {

// The name up to its first NUL, or the whole field when it holds none.
std::u16string_view NameView(const char16_t* field, size_t capacity);

// Stores src cut to capacity - 1 units (never leaving half a surrogate pair at the cut),
// NUL-terminated, with the rest of the field zeroed so stored records carry no stale units.
void CopyName(char16_t* field, size_t capacity, std::u16string_view src);

// Exact, case-sensitive comparison of the stored name with name.
bool NameEquals(const char16_t* field, size_t capacity, std::u16string_view name);

template <size_t N>
std::u16string_view NameView(const char16_t (&field)[N]) {
  return NameView(field, N);
}
template <size_t N>
void CopyName(char16_t (&field)[N], std::u16string_view src) {
  CopyName(field, N, src);
}
template <size_t N>
bool NameEquals(const char16_t (&field)[N], std::u16string_view name) {
  return NameEquals(field, N, name);
}

}  // namespace corvane
