/* The hooks of CorvaneHook.dll: one low-level hook and one target per kind (see corvane_hook.h). */
#define CORVANE_HOOK_BUILD
#include "corvane_hook.h"

struct Hook {
  int kind;     /* WH_MOUSE_LL or WH_KEYBOARD_LL */
  HHOOK handle; /* NULL while stopped */
  HWND window;
  UINT message;
};

static struct Hook g_mouse = {WH_MOUSE_LL, NULL, NULL, 0};
static struct Hook g_keyboard = {WH_KEYBOARD_LL, NULL, NULL, 0};

/* The module the hook procedures live in; a low-level hook needs it. */
static HINSTANCE g_module;

static LRESULT Report(struct Hook* hook, int code, WPARAM wp, LPARAM lp) {
  /* Negative codes are for CallNextHookEx alone. The record's address is the report's lParam,
     valid while the window handles the message. The window's answer is ignored: returning
     anything but CallNextHookEx's result could swallow the event. */
  if (code == HC_ACTION && hook->window) SendMessageW(hook->window, hook->message, wp, lp);
  return CallNextHookEx(hook->handle, code, wp, lp);
}

static LRESULT CALLBACK MouseProc(int code, WPARAM wp, LPARAM lp) {
  return Report(&g_mouse, code, wp, lp);
}

static LRESULT CALLBACK KeyboardProc(int code, WPARAM wp, LPARAM lp) {
  return Report(&g_keyboard, code, wp, lp);
}

static int Start(struct Hook* hook, HOOKPROC proc, HWND window, UINT message) {
  if (!IsWindow(window)) return 0;
  if (!hook->handle) {
    hook->handle = SetWindowsHookExW(hook->kind, proc, g_module, 0);
    if (!hook->handle) {
      hook->window = NULL;
      return 0;
    }
  }
  hook->window = window;
  hook->message = message;
  return 1;
}

static int Stop(struct Hook* hook) {
  if (!hook->handle) return 0;
  /* A hook the system already removed (its thread ended) fails here; either way it is gone. */
  UnhookWindowsHookEx(hook->handle);
  hook->handle = NULL;
  hook->window = NULL;
  hook->message = 0;
  return 1;
}

CORVANE_HOOK_API int __cdecl MouseHookStart(HWND window, UINT message) {
  return Start(&g_mouse, MouseProc, window, message);
}

CORVANE_HOOK_API int __cdecl MouseHookStop(void) { return Stop(&g_mouse); }

CORVANE_HOOK_API int __cdecl KeyboardHookStart(HWND window, UINT message) {
  return Start(&g_keyboard, KeyboardProc, window, message);
}

CORVANE_HOOK_API int __cdecl KeyboardHookStop(void) { return Stop(&g_keyboard); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == NULL) {
    /* Unloaded by FreeLibrary while the process goes on: a hook left behind would call into
       unmapped code. At process exit (reserved set) the system removes the hooks itself. */
    Stop(&g_mouse);
    Stop(&g_keyboard);
  }
  return TRUE;
}
