// Translatable texts: the built-in English table (resources/strings.def) and the lookup that lets
// a language file Languages\<lcid>.ini replace any of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// One constant per built-in text, IDS_ABOUTBOX = 169 and so on.
enum StringId : uint32_t {
#define CORVANE_STRING(id, sym, text) sym = id,
#include "resources/strings.def"
#undef CORVANE_STRING
};

// Capacities the callers use, in UTF-16 units including the terminator.
inline constexpr size_t kCaptionCapacity = 256;       // captions of dialog controls
inline constexpr size_t kListItemCapacity = 128;      // list items, event rows, composed texts
inline constexpr size_t kFunctionNameCapacity = 512;  // function names on the Buttons page

// The built-in English text of id, or the empty text when the table has none.
std::u16string_view BuiltinString(uint32_t id);

// The text of id for language: language 0 reads no file; otherwise key <id> of section
// "Strings" in the language file wins when it is present and not empty. Falls back to the
// built-in text. The result is cut to capacity - 1 units (never leaving half a surrogate pair).
std::u16string LoadLocalizedString(uint32_t id, uint32_t language, size_t capacity);

// The name of a key in macro event rows: string 512 + virtual-key code, looked up as above with
// kListItemCapacity. Codes above 255 have no name (the identifiers after the key names belong to
// other texts); neither has a code without a string.
inline constexpr uint32_t kKeyNameBase = 512;
std::u16string LoadKeyName(uint32_t vk, uint32_t language);

// Replaces every "%1" in text by arg1, as the message boxes insert a macro name.
std::u16string FormatMessageText(std::u16string_view text, std::u16string_view arg1);

}  // namespace corvane
