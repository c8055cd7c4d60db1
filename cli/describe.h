// The configuration in words, for `corvane-cli show`: the texts of the Buttons, Pointer and
// Macros pages, in the language of the settings file.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"
#include "storage/key_names.h"

namespace corvane::cli {

// What a button does: the function's name, "Hot Key: <combination>", or
// "Macro: <name> (<mode>, <interval> ms)" with the not-found message when the name matches no
// macro of the library.
std::u16string FunctionText(const ButtonAssignment& assignment, const MacroLibrary& library,
                            uint32_t language);

// "800" for stage code 3; "invalid (code 17)" for codes outside 0..15.
std::u16string DpiText(int32_t code);

// "1000 reports per second" for code 1; "not set (code 2000)" for codes outside the list.
std::u16string ReportRateText(int32_t code);

// The label of button row (0-based): "Left Button:" ...; "Button 9:" beyond the eighth.
std::u16string ButtonLabel(int row, uint32_t language);

std::u16string Decimal(int64_t value);

}  // namespace corvane::cli
