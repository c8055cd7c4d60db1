#include "model/function_names.h"

namespace corvane {

int FunctionNameIndex(int32_t code) {
  for (int i = 0; i < kFunctionNameCount; ++i) {
    if (FunctionNameTable[i].Code == code) return i;
  }
  return -1;
}

uint32_t FunctionNameId(int32_t code) {
  int index = FunctionNameIndex(code);
  if (index >= 0) return FunctionNameTable[index].StringId;
  if (code == 0) return 304;                                                    // "Disabled"
  if (code >= 37 && code <= 40) return 343 + static_cast<uint32_t>(code - 37);  // Bass/Treble
  return 0;
}

}  // namespace corvane
