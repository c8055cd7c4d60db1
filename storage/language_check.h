// What a language file may hold, and the check of one file against the built-in string table:
// the translators' safety net, run over every shipped file by the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Whether a language file can replace the text of an identifier.
enum class Translation : uint8_t {
  kNone,      // never looked up with the language (or no such text): a key for it has no effect
  kRequired,  // shown through the lookup: every language file translates it
  kOptional,  // a key name (512 + virtual-key code): named only where the language names it
              // differently from the built-in text, and any code may be named
};
Translation TranslationOf(uint32_t id);

// The smallest buffer, in UTF-16 units with the terminator, that any caller looks id up with.
size_t LookupCapacity(uint32_t id);

// The placeholders of a text in order: "%1".."%99" (message-box style, "%1!s!" included) and
// printf conversions such as "%s" or "%5d"; "%%" is none.
std::vector<std::u16string> Placeholders(std::u16string_view text);

struct LanguageProblem {
  uint32_t Id = 0;  // 0: the problem is the file's or a line's, not one text's
  std::string What;
};

// Every problem of one language file (its name, e.g. "1031.ini", and its bytes): it must be UTF-8
// or UTF-16LE with one section [Strings] of "<id>=<text>" lines (blank lines and ";" comments
// aside) for known, replaceable identifiers, each once, none missing, none empty or longer than its
// lookup's capacity, with the same placeholders as the built-in text. Sorted by identifier.
std::vector<LanguageProblem> CheckLanguageFile(std::string_view fileName, std::string_view bytes);

}  // namespace corvane
