#include "model/macro_links.h"

#include "model/text.h"

namespace corvane {

int MacroCountInUse(const MacroLibrary& library) {
  if (library.MacroCount < 0) return 0;
  return library.MacroCount > kMaxMacros ? kMaxMacros : library.MacroCount;
}

void ResolveMacroLinks(ButtonAssignment* assignments, int count, const MacroLibrary& library) {
  if (assignments == nullptr || count <= 0) return;
  if (count > kMaxAssignments) count = kMaxAssignments;
  const int macros = MacroCountInUse(library);
  for (int i = 0; i < count; ++i) {
    ButtonAssignment& a = assignments[i];
    const std::u16string_view name = NameView(a.MacroName);
    int found = -1;
    if (!name.empty()) {
      for (int m = 0; m < macros; ++m) {
        if (NameEquals(library.Macros[m].Name, name)) {
          found = m;
          break;
        }
      }
    }
    if (found >= 0) {
      AssignMacro(a, library, found);
    } else {
      // The name stays: the Buttons page reports the missing macro by it.
      a.MacroIndex = -1;
      a.MacroLink = kNoMacroLink;
    }
  }
}

void UnlinkRemovedMacro(ButtonAssignment* assignments, int count, int index) {
  if (assignments == nullptr || index < 0) return;
  if (count > kMaxAssignments) count = kMaxAssignments;
  const auto removed = static_cast<MacroRef>(index);
  for (int i = 0; i < count; ++i) {
    ButtonAssignment& a = assignments[i];
    if (a.MacroLink == kNoMacroLink) continue;
    const MacroRef linked = a.MacroLink - 1;
    if (linked == removed) {
      a.MacroIndex = -1;
      a.MacroLink = kNoMacroLink;
    } else if (linked > removed) {
      a.MacroLink = linked;  // the entry one place lower, + 1
      a.MacroIndex = static_cast<int32_t>(linked - 1);
    }
  }
}

void RenameLinkedMacro(ButtonAssignment* assignments, int count, const MacroLibrary& library,
                       int index) {
  if (assignments == nullptr || index < 0 || index >= MacroCountInUse(library)) return;
  if (count > kMaxAssignments) count = kMaxAssignments;
  for (int i = 0; i < count; ++i) {
    ButtonAssignment& a = assignments[i];
    if (a.MacroLink == static_cast<MacroRef>(index) + 1) AssignMacro(a, library, index);
  }
}

void AssignMacro(ButtonAssignment& assignment, const MacroLibrary& library, int index) {
  if (index < 0 || index >= MacroCountInUse(library)) {
    ClearMacroAssignment(assignment);
    return;
  }
  CopyName(assignment.MacroName, NameView(library.Macros[index].Name));
  assignment.MacroIndex = index;
  assignment.MacroLink = static_cast<MacroRef>(index) + 1;
}

void ClearMacroAssignment(ButtonAssignment& assignment) {
  assignment.MacroName[0] = u'\0';
  assignment.MacroIndex = -1;
  assignment.MacroLink = kNoMacroLink;
}

const Macro* LinkedMacro(const ButtonAssignment& assignment, const MacroLibrary& library) {
  if (assignment.MacroLink == kNoMacroLink) return nullptr;
  const MacroRef index = assignment.MacroLink - 1;
  if (index >= static_cast<MacroRef>(MacroCountInUse(library))) return nullptr;
  return &library.Macros[index];
}

}  // namespace corvane
