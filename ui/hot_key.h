// CHotKey, the hot key field: an edit control of a dialog that captures a key combination.
//
// While the field has the keyboard focus it holds the input hook library's keyboard hook, so it
// sees every key of the desktop (Tab, Enter, Esc, Alt and Windows combinations included) and keeps
// the last key pressed with the modifiers held at that moment, in the form of ButtonAssignment's
// HotKeyVk / HotKeyModifiers pair, and shows it in words ("Ctrl + A"). Keys never type into it.
//
// Use:
//   CHotKey hotKey_;                              // a member of the owning dialog
//   hotKey_.Attach(Handle(), IDC_HOTKEY);         // in OnInitDialog
//   hotKey_.SetCombination(a.HotKeyVk, a.HotKeyModifiers);   // show a stored hot key
//   ... on EN_CHANGE:   hotKey_.SetCombination(hotKey_.m_wKey, hotKey_.m_wModifiers);
//   ... on EN_KILLFOCUS: a.HotKeyVk = hotKey_.m_wKey; a.HotKeyModifiers = hotKey_.m_wModifiers;
//   CHotKey::GetSystemKeyName(vk, extended)       // the system's name of one key
//
// The owner's EN_CHANGE handler puts the text back after anything that typed or pasted into the
// edit (a key's WM_CHAR still arrives); SetCombination leaves an unchanged text alone, so that
// handler does not recurse.
//
// The modifier keys held (left/right Shift, Ctrl, Alt) are one record for the whole process, kept
// up to date only while some field holds the hook: a modifier released meanwhile counts as held
// until a field sees its release; one pressed meanwhile counts from its next press.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/framework/subclass.h"

namespace corvane::ui {

class CHotKey : public Subclass {
 public:
  CHotKey() = default;
  ~CHotKey() override;

  // Stores the combination and shows it. A modifier key as the main key loses its own bit
  // (SetCombination(164, 0x04) stores {164, 0}); the window text becomes GetCombinationText().
  void SetCombination(uint16_t key, uint16_t modifiers);
  // The stored combination in words, empty for {0, 0}.
  std::u16string GetCombinationText() const;
  // The system's name of a key (GetKeyNameTextW of its scan code), empty when it has none.
  static std::u16string GetSystemKeyName(uint16_t key, bool extended);

  // The stored combination: read them; change them through SetCombination.
  uint16_t m_wKey = 0;        // virtual-key code
  uint16_t m_wModifiers = 0;  // HotKeyModifiers bits (kMod* of model/records.h)

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void OnHookKeyboard(WPARAM kind, const KBDLLHOOKSTRUCT& key);
  void ReleaseHook();

  bool holdsHook_ = false;
};

}  // namespace corvane::ui
