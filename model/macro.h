// Operations on one Macro: clearing it and the three event edits used by the recorder and by
// hand editing on the Macros page.
#pragma once

#include "model/records.h"

namespace corvane {

// Empty Name, EventCount 0, Modified 0 and all events zeroed.
void ClearMacro(Macro& macro);

// Each edit returns the new EventCount, or -1 and leaves the macro untouched when it refuses;
// a change sets Modified to 1. An EventCount outside 0..kMaxEvents (a damaged record) refuses every
// edit, so nothing is read or written outside the event array.

// Stores the event at position EventCount. Refused when the macro holds kMaxEvents events.
int AppendEvent(Macro& macro, int32_t message, int32_t data);

// Moves the events from index on up by one and stores the event at index. Refused when the
// macro is full or index lies outside 0..EventCount.
int InsertEvent(Macro& macro, int index, int32_t message, int32_t data);

// Moves the events behind index down by one and zeroes the entry that became free. Refused when
// the macro is empty or index lies outside 0..EventCount-1.
int DeleteEvent(Macro& macro, int index);

}  // namespace corvane
