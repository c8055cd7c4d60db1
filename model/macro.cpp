#include "model/macro.h"

#include <cstring>

namespace corvane {
namespace {

bool CountIsSound(const Macro& macro) {
  return macro.EventCount >= 0 && macro.EventCount <= kMaxEvents;
}

}  // namespace

void ClearMacro(Macro& macro) { std::memset(&macro, 0, sizeof macro); }

int AppendEvent(Macro& macro, int32_t message, int32_t data) {
  return InsertEvent(macro, macro.EventCount, message, data);
}

int InsertEvent(Macro& macro, int index, int32_t message, int32_t data) {
  if (!CountIsSound(macro) || macro.EventCount >= kMaxEvents) return -1;
  if (index < 0 || index > macro.EventCount) return -1;
  std::memmove(&macro.Events[index + 1], &macro.Events[index],
               sizeof(MacroEvent) * static_cast<size_t>(macro.EventCount - index));
  macro.Events[index] = MacroEvent{message, data};
  ++macro.EventCount;
  macro.Modified = 1;
  return macro.EventCount;
}

int DeleteEvent(Macro& macro, int index) {
  if (!CountIsSound(macro) || macro.EventCount <= 0) return -1;
  if (index < 0 || index >= macro.EventCount) return -1;
  std::memmove(&macro.Events[index], &macro.Events[index + 1],
               sizeof(MacroEvent) * static_cast<size_t>(macro.EventCount - index - 1));
  --macro.EventCount;
  macro.Events[macro.EventCount] = MacroEvent{0, 0};
  macro.Modified = 1;
  return macro.EventCount;
}

}  // namespace corvane
