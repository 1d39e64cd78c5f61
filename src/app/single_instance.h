#pragma once
// One Klipora per user desktop: a second start tells the user, asks the
// running instance to show its window and ends.
#include <windows.h>

namespace klipora {

// Set by CheckSingleInstance; TMain ends at once when it is true.
extern bool AnotherInstanceRunning;

// Runs first thing at start. Holds the mutex until the process ends.
void CheckSingleInstance();

// A window of class "TMain" exactly whose style bit 0 is clear.
bool IsInstanceMainWindow(HWND window);

// The running instance's main window: class "TMain", title containing
// "Klipora", IsInstanceMainWindow; null when there is none.
HWND findInstanceMainWindow();

}  // namespace klipora
