/*
 * CorvaneHook.dll: system-wide capture of keyboard and mouse input for Corvane.
 *
 * The library installs the system's low-level keyboard and mouse hooks (WH_KEYBOARD_LL,
 * WH_MOUSE_LL) and reports every input event of the desktop to one window of the caller, as a
 * message sent to that window. It is a plain C interface with no dependency on the rest of
 * Corvane; Corvane.exe imports it by name.
 *
 * Reports. While a hook runs, each event of its kind is reported once, in the order the events
 * happen, with SendMessageW(window, message, wParam, lParam):
 *
 *   mouse     wParam: the event's mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN, ..., WM_MOUSEWHEEL,
 *                     WM_XBUTTONDOWN, ...)
 *             lParam: address of the system's MSLLHOOKSTRUCT (the high word of mouseData is the
 *                     signed wheel delta, or the X button number 1 or 2)
 *   keyboard  wParam: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
 *             lParam: address of the system's KBDLLHOOKSTRUCT (vkCode, scanCode, flags with
 *                     LLKHF_EXTENDED in bit 0, time)
 *
 * The report is synchronous: the record is valid only until the window procedure returns, so
 * the window copies what it needs while it handles the message. The window's result is ignored.
 * Input is never suppressed: after the report the event goes on to its destination as if no hook
 * were there.
 *
 * Threads. The system calls a low-level hook on the thread that installed it, while that thread
 * waits for messages (GetMessage, PeekMessage, a modal loop, SendMessage to another thread). So
 * call the functions of one kind from one thread that retrieves messages, in practice the thread
 * that owns the target window: the report then reaches the window procedure directly. The
 * library keeps no lock; its state is one target per kind. While that thread does not retrieve
 * messages, the desktop's input of that kind waits for it, up to the system's hook timeout.
 *
 * Silence. Nothing is logged and no error state is set beyond what the system's own calls leave
 * in GetLastError. A target window destroyed while its hook runs simply receives nothing until
 * the hook is stopped or given another window.
 */
#ifndef CORVANE_HOOK_H
#define CORVANE_HOOK_H

#include <windows.h>

#ifdef CORVANE_HOOK_BUILD
#define CORVANE_HOOK_API __declspec(dllexport)
#else
#define CORVANE_HOOK_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * MouseHookStart: report every mouse event of the desktop to window as message.
 *
 * Call it from the thread that owns window (see Threads above).
 *
 * When the mouse hook already runs, only its target changes: from this call on, events go to
 * window with message and no longer to the previous target (the hook is not installed twice).
 *
 * Returns 1 when the hook runs towards window afterwards. Returns 0 when window is not a window
 * (nothing changes: a running hook keeps its previous target) or when the system refuses the
 * hook (SetWindowsHookExW failed: no mouse hook runs afterwards; see GetLastError).
 */
CORVANE_HOOK_API int __cdecl MouseHookStart(HWND window, UINT message);

/*
 * MouseHookStop: end the mouse reports. No event that happens after the call is reported.
 *
 * Returns 1 when a running hook was removed, 0 when none was running (then nothing happens;
 * a stop without a start is harmless).
 */
CORVANE_HOOK_API int __cdecl MouseHookStop(void);

/*
 * KeyboardHookStart: report every key down and key up of the desktop to window as message.
 * The same rules as MouseHookStart, for the keyboard hook.
 */
CORVANE_HOOK_API int __cdecl KeyboardHookStart(HWND window, UINT message);

/*
 * KeyboardHookStop: end the keyboard reports. The same rules as MouseHookStop.
 */
CORVANE_HOOK_API int __cdecl KeyboardHookStop(void);

#ifdef __cplusplus
}
#endif

#endif /* CORVANE_HOOK_H */
