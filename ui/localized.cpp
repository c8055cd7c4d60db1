#include "ui/localized.h"

#include <vector>

#include "storage/strings.h"
#include "ui/framework/controls.h"

namespace corvane::ui {

std::u16string Localized(uint32_t stringId, uint32_t language, size_t capacity) {
  return LoadLocalizedString(stringId, language, capacity);
}

std::u16string Builtin(uint32_t stringId) { return std::u16string(BuiltinString(stringId)); }

void SetLocalizedCaption(HWND window, int controlId, uint32_t stringId, uint32_t language) {
  if (!window || !IsWindow(window)) return;
  Control(window, controlId).SetText(Localized(stringId, language, kCaptionCapacity));
}

void FillChoiceList(HWND list, const Choice* table, size_t count, int32_t current,
                    uint32_t language) {
  ComboBox box(list);
  box.Reset();
  for (size_t i = 0; i < count; ++i) {
    int at = box.Add(Localized(table[i].StringId, language, kListItemCapacity));
    if (at >= 0) box.SetItemData(at, static_cast<LPARAM>(table[i].Value));
  }
  SelectChoice(list, current);
}

int FindChoice(HWND list, int32_t value) {
  ComboBox box(list);
  std::vector<int32_t> data;
  int n = box.Count();
  for (int i = 0; i < n; ++i) data.push_back(static_cast<int32_t>(box.ItemData(i)));
  return corvane::FindChoice(data, value);
}

int SelectChoice(HWND list, int32_t value) {
  int at = FindChoice(list, value);
  ComboBox(list).Select(at);
  return at;
}

}  // namespace corvane::ui
