#include "ui/buttons_page.h"

#include "ui/macros_page.h"

namespace corvane::ui {

bool CButtonsDlg::OnInitDialog() {
  // The Macros page is created first, so the library is loaded before the links are resolved.
  static const MacroLibrary kEmpty{};
  CMacrosDlg* macros = host_.MacrosPage();
  LoadButtonAssignments(options_, assignments_, kMaxAssignments,
                        macros ? macros->Library() : kEmpty);
  return true;
}

}  // namespace corvane::ui
