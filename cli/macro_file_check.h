// The checks corvane-cli makes before it imports an exchange file. The program itself takes any
// file (a damaged event keeps its zeroes, a file without events gives an empty macro); a command
// that persists the import at once refuses such a file instead, so nothing half-read is saved.
#pragma once

#include <string>

namespace corvane::cli {

// The number of events of the exchange file at path, or -1 with a one-line problem when the
// file is missing or unreadable, has no "Events" section with Numbers, holds more than 512
// events, or one of its events 1..Numbers does not read as a well-formed record.
int CheckMacroFile(const std::u16string& path, std::u16string& problem);

}  // namespace corvane::cli
