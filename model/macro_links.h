// Links between button assignments and the macros of the library. Within a run MacroLink is the
// entry index + 1 (kNoMacroLink for none); across runs only MacroName links an assignment.
#pragma once

#include "model/records.h"

namespace corvane {

// For each of the first count assignments (clamped to 0..kMaxAssignments), finds its MacroName
// among library entries 0..MacroCount-1, exact and case-sensitive, first match winning. A match
// sets MacroIndex and MacroLink and copies the entry's Name back into MacroName; otherwise
// MacroIndex becomes -1 and MacroLink kNoMacroLink, and MacroName is kept. An empty MacroName
// means "no macro" and never links.
void ResolveMacroLinks(ButtonAssignment* assignments, int count, const MacroLibrary& library);

// Entry index has left the library and the later entries moved down one place (RemoveMacro). Of
// the first count assignments, one linked to it loses its link (its MacroName stays, as for a
// name not found), and one linked to a later entry follows its macro to the new place: without
// this, Apply would encode whatever macro moved into the old place.
void UnlinkRemovedMacro(ButtonAssignment* assignments, int count, int index);

// Entry index was renamed: of the first count assignments, those linked to it take the new name,
// so resolving the links by name again keeps them on their macro.
void RenameLinkedMacro(ButtonAssignment* assignments, int count, const MacroLibrary& library,
                       int index);

// Sets MacroName, MacroIndex and MacroLink together from library entry index; an index outside
// 0..MacroCount-1 clears the assignment instead.
void AssignMacro(ButtonAssignment& assignment, const MacroLibrary& library, int index);

// Empties MacroName and sets MacroIndex -1 and MacroLink kNoMacroLink.
void ClearMacroAssignment(ButtonAssignment& assignment);

// The macro MacroLink refers to, or null when it is kNoMacroLink or names no entry in use.
const Macro* LinkedMacro(const ButtonAssignment& assignment, const MacroLibrary& library);

// MacroCount limited to 0..kMaxMacros, for code that walks the entries in use.
int MacroCountInUse(const MacroLibrary& library);

}  // namespace corvane
