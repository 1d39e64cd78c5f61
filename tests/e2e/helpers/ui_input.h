#pragma once
// Real keyboard input through SendInput, which reaches Wine's input queue
// whether or not an X window has the focus.
#include <windows.h>

#include <string>

namespace klipora::uihelper {

// Makes the window the foreground window; false if it did not become it.
bool bringToForeground(HWND window);

// Presses one chord such as "alt+f4", "ctrl+shift+F11", "enter" or "a": the
// modifiers go down in order, the key is pressed, the modifiers go up.
// False for an unknown key name.
bool pressChord(const std::wstring& chord);

// Types the text as key presses (Unicode input) into the focused control.
bool typeText(const std::wstring& text);

// A real left click (SendInput) at the centre of the window.
bool clickWithMouse(HWND window);

}  // namespace klipora::uihelper
