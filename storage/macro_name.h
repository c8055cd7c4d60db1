// Macro names. A name is the base name of its macro's file in the Macros folder, so a name that
// the file system would take as anything but a plain file there is refused, and two macros never
// carry names that the file system would take for one file.
#pragma once

#include <string>
#include <string_view>

#include "model/records.h"

namespace corvane {

// True when name can key a per-macro file: 1..63 UTF-16 units; no control character, none of
// \ / : * ? " < > |, no unpaired surrogate; not ending in a dot or a space; not a device name
// (CON, PRN, AUX, NUL, COM0..COM9, LPT0..LPT9, also with a superscript digit, CONIN$, CONOUT$;
// any case, with or without an extension). It must also read back from the name list as itself:
// no leading space and not wrapped in single quotes, which the profile format would strip.
bool IsValidMacroName(std::u16string_view name);

// The simple upper-case mapping used to compare names: ASCII, Latin-1, Latin Extended-A, Greek,
// Cyrillic, Armenian, Latin Extended Additional and the full-width Latin letters. Other units,
// including surrogates, map to themselves. It follows the letters a case-insensitive file system
// folds, so names that differ only in case are one name.
char16_t UpperCaseUnit(char16_t c);

// Names compared unit by unit after UpperCaseUnit.
bool SameMacroName(std::u16string_view a, std::u16string_view b);

// The index of the first entry 0..MacroCount-1 other than except whose Name is the same name as
// name (SameMacroName), or -1.
int FindMacroName(const MacroLibrary& library, std::u16string_view name, int except = -1);

// name cut to 63 units, never leaving half a surrogate pair at the cut.
std::u16string LimitMacroName(std::u16string_view name);

// base made usable as a name: forbidden and control characters and unpaired surrogates become
// '_', leading spaces and trailing dots and spaces go, the result is cut to 63 units; an empty
// result becomes "New Macro".
std::u16string UsableMacroName(std::u16string_view base);

// The first of "Name", "Name (2)", "Name (3)" ... (Name = UsableMacroName(base), cut so the
// suffix fits 63 units) that is a valid name and that no entry other than except carries.
std::u16string UniqueMacroName(const MacroLibrary& library, std::u16string_view base,
                               int except = -1);

// The file name of path without its folder and its extension: the name an imported macro takes.
std::u16string MacroNameFromPath(std::u16string_view path);

}  // namespace corvane
