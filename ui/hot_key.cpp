#include "ui/hot_key.h"

#include "macros/hook/corvane_hook.h"
#include "model/hot_key.h"
#include "ui/ids.h"

namespace corvane::ui {
namespace {

// The modifier keys held, shared by every field of the process (see hot_key.h).
ModifierKeys& HeldModifiers() {
  static ModifierKeys keys;
  return keys;
}

}  // namespace

CHotKey::~CHotKey() { ReleaseHook(); }

void CHotKey::ReleaseHook() {
  if (!holdsHook_) return;
  holdsHook_ = false;
  KeyboardHookStop();
}

void CHotKey::SetCombination(uint16_t key, uint16_t modifiers) {
  HotKeyCombination c = NormaliseHotKey(key, modifiers);
  m_wKey = c.Key;
  m_wModifiers = c.Modifiers;
  if (!Handle()) return;
  std::u16string text = GetCombinationText();
  // An edit reports every WM_SETTEXT as a change, also of an equal text; an owner that calls
  // SetCombination on every change would otherwise never stop.
  int length = GetWindowTextLengthW(Handle());
  std::u16string current(static_cast<size_t>(length) + 1, u'\0');
  length = GetWindowTextW(Handle(), reinterpret_cast<wchar_t*>(&current[0]), length + 1);
  current.resize(length > 0 ? static_cast<size_t>(length) : 0);
  if (current != text) SetWindowTextW(Handle(), reinterpret_cast<const wchar_t*>(text.c_str()));
}

std::u16string CHotKey::GetCombinationText() const {
  return HotKeyText({m_wKey, m_wModifiers}, GetSystemKeyName);
}

std::u16string CHotKey::GetSystemKeyName(uint16_t key, bool extended) {
  UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  LONG param = static_cast<LONG>(((scan & 0xFF) << 16) | (extended ? (1u << 24) : 0u));
  // The whole name, however long: a result that fills the buffer may have been cut.
  std::wstring name(64, L'\0');
  for (;;) {
    int n = GetKeyNameTextW(param, &name[0], static_cast<int>(name.size()));
    if (n < 0) n = 0;
    if (static_cast<size_t>(n) + 1 < name.size() || name.size() >= 4096) {
      name.resize(static_cast<size_t>(n));
      break;
    }
    name.assign(name.size() * 2, L'\0');
  }
  return std::u16string(name.begin(), name.end());
}

bool CHotKey::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_HOOKKEYBOARD:
      OnHookKeyboard(wp, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp));
      result = 0;
      return true;
    case WM_GETDLGCODE:
      // Tab, Enter and Esc are keys like any other here, not dialog navigation.
      result = CallOriginal(msg, wp, lp) | DLGC_WANTALLKEYS;
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // The hook reports the key; the edit must not act on it (delete, move the caret).
      result = 0;
      return true;
    case WM_SETFOCUS:
      result = CallOriginal(msg, wp, lp);
      KeyboardHookStart(Handle(), WM_HOOKKEYBOARD);
      holdsHook_ = true;
      return true;
    case WM_KILLFOCUS:
      result = CallOriginal(msg, wp, lp);
      holdsHook_ = false;
      KeyboardHookStop();
      return true;
    case WM_NCDESTROY:
      ReleaseHook();  // destroyed while focused
      return false;
    default: return false;
  }
}

void CHotKey::OnHookKeyboard(WPARAM kind, const KBDLLHOOKSTRUCT& key) {
  if (IsIgnoredHotKey(key.vkCode)) return;
  ModifierKeys& held = HeldModifiers();
  if (kind == WM_KEYDOWN || kind == WM_SYSKEYDOWN) {
    held.KeyDown(key.vkCode);
    uint16_t modifiers = held.Bits();
    if (key.flags & LLKHF_EXTENDED) modifiers |= kModExtended;
    SetCombination(static_cast<uint16_t>(key.vkCode), modifiers);
  } else if (kind == WM_KEYUP || kind == WM_SYSKEYUP) {
    held.KeyUp(key.vkCode);  // the combination and its text stay
  }
}

}  // namespace corvane::ui
