#include "ui/page.h"

#include <commctrl.h>

#include "ui/framework/controls.h"
#include "ui/ids.h"
#include "ui/localized.h"

namespace corvane::ui {

bool Page::OnCommand(int id, int code, HWND control) {
  if (id == IDOK || id == IDCANCEL) return true;
  return OnPageCommand(id, code, control);
}

void Page::RefreshCaptions(const CaptionEntry* table, size_t count) {
  uint32_t language = host_.Language();
  if (appliedLanguage_ == static_cast<int64_t>(language)) return;
  appliedLanguage_ = language;
  for (size_t i = 0; i < count; ++i)
    SetLocalizedCaption(Handle(), table[i].ControlId, table[i].StringId, language);
}

void Page::SwitchToTab(int index) const {
  HWND main = GetParent(Handle());
  TabControl tab(main, kIdTab);
  if (!tab.Handle()) return;
  tab.Select(index);
  NMHDR change{tab.Handle(), static_cast<UINT_PTR>(kIdTab), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(main, WM_NOTIFY, kIdTab, reinterpret_cast<LPARAM>(&change));
}

}  // namespace corvane::ui
