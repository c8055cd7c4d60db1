// The functions a button can be given on the Buttons page, in the order of its lists, with the
// string identifiers of their names and the commands of the function menu.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace corvane {

struct FunctionName {
  int32_t Code;          // ButtonAssignment::FunctionCode
  uint32_t StringId;     // name in the string table
  uint32_t MenuCommand;  // command in the function menu, 0 for entries the menu leaves out
};

inline constexpr int kFunctionNameCount = 38;

// Entry i is menu command 32792 + i; Copy, Paste, Cut, Redo and Undo (entries 14..18) are only
// offered by the drop-down lists.
inline constexpr FunctionName FunctionNameTable[kFunctionNameCount] = {
    {1, 305, 32792},
    {2, 306, 32793},
    {3, 307, 32794},
    {4, 308, 32795},
    {5, 309, 32796},
    {6, 310, 32797},
    {7, 311, 32798},
    {8, 312, 32799},
    {9, 313, 32800},
    {10, 314, 32801},
    {11, 315, 32802},
    {12, 316, 32803},
    {kFunctionHotKey, 317, 32804},
    {13, 318, 32805},
    {14, 319, 0},
    {15, 320, 0},
    {16, 321, 0},
    {17, 322, 0},
    {18, 323, 0},
    {19, 324, 32811},
    {20, 325, 32812},
    {21, 326, 32813},
    {22, 327, 32814},
    {23, 328, 32815},
    {24, 329, 32816},
    {25, 330, 32817},
    {26, 331, 32818},
    {27, 332, 32819},
    {28, 333, 32820},
    {29, 334, 32821},
    {30, 335, 32822},
    {31, 336, 32823},
    {32, 337, 32824},
    {33, 338, 32825},
    {34, 339, 32826},
    {35, 340, 32827},
    {36, 341, 32828},
    {kFunctionMacro, 342, 32829},
};

// Index of the table entry that carries code, or -1.
int FunctionNameIndex(int32_t code);

// String identifier of the name of code: the table's entries, and also the device rows the
// pages do not offer (0 "Disabled", 37..40). 0 when the code has no name.
uint32_t FunctionNameId(int32_t code);

}  // namespace corvane
