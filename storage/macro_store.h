// The macro store: the name list (section "Macros" of Corvane.ini: Numbers and keys
// "1".."Numbers") and one file per macro, Macros<sep><Name>.ini, with section "Events" (Numbers
// and keys "1".."Numbers", each an 8-byte MacroEvent). Exchange files (.mcr) share that layout.
//
// A name that IsValidMacroName refuses never reaches the file system: such an entry keeps its
// name in memory, loads no events and saves nothing. No operation overwrites, moves or deletes
// the stored events of another entry of the library. Failures are silent apart from the results.
#pragma once

#include <string>
#include <string_view>

#include "model/records.h"

namespace corvane {
namespace profile {
class Document;
}

// Sets n consecutive entries to the cleared state (n held to 0..).
void ClearMacros(Macro* first, int n);

// Reads Numbers (0 when missing, held to 0..128) and keys 1..Numbers into the Names of entries
// 0..Numbers-1 (a missing key gives the empty name, a longer name is cut to 63 units). Returns
// the count; the caller stores it as MacroCount. Events are not touched.
// A name with an unpaired surrogate reads with U+FFFD in its place.
int LoadMacroNames(MacroLibrary& library);
// The same from the settings document held by the caller.
int LoadMacroNames(const profile::Document& settings, MacroLibrary& library);

// Writes Numbers = count (held to 0..128) and keys 1..count. Keys above count stay in the file.
bool SaveMacroNames(const MacroLibrary& library, int count);
// The same into a document of the settings file held by the caller, which saves it.
void StoreMacroNames(profile::Document& doc, const MacroLibrary& library, int count);

// Reads the macro's events from file, or from its own per-macro file when file is null; the
// file is parsed once. Numbers below 1 loads none, above 512 loads 512; an event whose value
// fails to read keeps what it held. EventCount becomes the count; Modified is not changed.
void LoadMacroEvents(Macro& macro, const std::u16string* file = nullptr);

// Writes Numbers = EventCount and keys 1..EventCount to file, or to the macro's own per-macro
// file when file is null; keys above EventCount and every other section stay. Clears Modified
// when the file was written: a save that failed leaves the macro marked modified.
bool SaveMacroEvents(Macro& macro, const std::u16string* file = nullptr);
// The same into a document of a macro file held by the caller, which saves it.
void StoreMacroEvents(profile::Document& doc, const Macro& macro);

// Renames entry index to newName, cut to 63 units, and moves its per-macro file along (a move
// that never replaces an existing file). Refused, with Name unchanged, when newName is not a valid
// name or another entry carries it (a change of case of the entry's own name is allowed). Otherwise
// Name takes newName even when the move fails (a missing file: the next save creates the new one).
// When another entry still carries the old name the file is copied, not moved, so that entry
// keeps its events. Returns true when the stored events now sit under the new name.
bool RenameMacro(MacroLibrary& library, int index, std::u16string_view newName);

// Deletes the per-macro file of name; a missing file is no error, an invalid name touches
// nothing.
bool DeleteMacroFile(std::u16string_view name);

// Whether the per-macro file of name is there; false for an invalid name.
bool MacroFileExists(std::u16string_view name);

// Removes entry index (0..MacroCount-1): deletes its per-macro file unless another entry still
// carries the name, moves the later entries down by one, clears entry 127 and decrements
// MacroCount. Returns false, changing nothing, for an index outside 0..MacroCount-1.
bool RemoveMacro(MacroLibrary& library, int index);

// ClearMacros on all 128 entries, MacroCount = LoadMacroNames, then the events of each entry.
void LoadMacroLibrary(MacroLibrary& library);
// The same with the names from the settings document held by the caller.
void LoadMacroLibrary(const profile::Document& settings, MacroLibrary& library);

// New: adds entry MacroCount named "New Macro" (made unique: "New Macro (2)" ...), with no
// events, writes its empty per-macro file and increments MacroCount. Returns the new entry's
// index, or -1 when the library holds 128 macros.
int NewMacro(MacroLibrary& library);

// Import: adds entry MacroCount named after path's file name without folder and extension (cut
// to 63 units, made usable and unique), writes its per-macro file with no events, reads path's
// events into it (Modified 0) and increments MacroCount. The name list is not written. Returns
// the new entry's index, or -1 when the library holds 128 macros.
int ImportMacroFile(MacroLibrary& library, const std::u16string& path);

// The name ImportMacroFile gives the macro of path in library as it stands.
std::u16string ImportedMacroName(const MacroLibrary& library, const std::u16string& path);

// The entry 0..MacroCount-1 whose own per-macro file path is, however path spells it; -1 when
// it is no entry's file (or no file at all).
int MacroOwningFile(const MacroLibrary& library, const std::u16string& path);

// Export of entry index: SaveMacroEvents to path, which updates the "Events" keys of an existing
// file and keeps the rest of it. Modified stays as it was, since the macro's own file is not
// written (unless path is that file).
// Refused (false, nothing written) when path is another entry's own per-macro file, whose events
// it would replace.
bool ExportMacroFile(MacroLibrary& library, int index, const std::u16string& path);

}  // namespace corvane
