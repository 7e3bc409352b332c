// The fixed window commands of a bar: each acts on the window in which the popup menu was
// opened (the caller passes it), on the focused window, or on the shell's taskbar. They work
// through public window-manager calls and synthetic keystrokes and report nothing.
#pragma once

#include <windows.h>

#include "model/ActionContext.h"

namespace orvale {

// Sends a system command (SC_RESTORE, SC_MINIMIZE, ...) and waits for it, but never for a
// hung window and never longer than a couple of seconds.
void SendSystemCommand(HWND window, WPARAM command);

// Brings `window` to the front and waits, dispatching messages, until it or a window of its own
// family is there, has answered its activation and is still there a moment later. False when it
// is gone, not in front within a second, or gone from the front again: whatever acts on the
// window in front (keys, a macro, Alt+F4) must then not act at all.
bool BringToFront(HWND window);

// Opens the Start menu next to the mouse pointer: the taskbar's Start button is moved near the
// pointer for Ctrl+Escape and put back at the taskbar's origin. No taskbar, nothing happens.
void OpenStartMenu();

// Activates the next window below `start` in the z-order that a task switch would offer:
// visible, without a parent (owned popups count as having one), of another thread than the
// program's, and neither the desktop nor the taskbar. A minimised result is restored first.
// `withWaits` adds the pauses a click from a bar needs (150 ms before, 350 ms after).
void SwitchToNextWindow(HWND start, bool withWaits);

// A task-bar button: brings `target` to the front, restoring it when minimised. When `target`
// is the menu's own window it is minimised instead and `next` (the next button's window, or
// null) comes to the front: the task bar then works as a two-window toggle.
void SwitchToTaskWindow(HWND target, HWND next, const ActionContext& context);

enum class DocumentDirection { Forward, Backward };

// Ctrl+F6 (forward) or Ctrl+Shift+F6 (backward) to the focused window, after releasing any
// modifier the user may still hold.
void SendDocumentSwitch(DocumentDirection direction);

// Brings the window forward and sends it Alt+F4.
void CloseTargetApplication(HWND window);

// Minimises a window that has a minimise box; any other window is left alone.
void MinimizeTarget(HWND window);

// Maximises, or restores when maximised, a window that has a maximise box.
void ToggleMaximizeTarget(HWND window);

// Makes the window topmost, or not topmost when `exStyle` (its extended style as read before
// the bars were hidden) says it is, without moving or sizing it.
void ToggleAlwaysOnTop(HWND window, LONG exStyle);

}  // namespace orvale
