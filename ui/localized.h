// Looked-up texts put into controls: captions and drop-down lists filled from choice tables.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/choice_tables.h"

namespace corvane::ui {

// When the window exists, sets its child's text to the string in the given language.
void SetLocalizedCaption(HWND window, int controlId, uint32_t stringId, uint32_t language);

// Empties the list, appends one item per entry in table order with the entry's value as item
// data, and selects the first item carrying current (none when no item does).
void FillChoiceList(HWND list, const Choice* table, size_t count, int32_t current,
                    uint32_t language);
// Selects the first item whose data is value and returns its index, or selects none: -1.
int SelectChoice(HWND list, int32_t value);
// As SelectChoice, without touching the selection.
int FindChoice(HWND list, int32_t value);

std::u16string Localized(uint32_t stringId, uint32_t language, size_t capacity = 256);
std::u16string Builtin(uint32_t stringId);

}  // namespace corvane::ui
