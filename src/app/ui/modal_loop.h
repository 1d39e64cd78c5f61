#pragma once
// Modal run of a form built at run time: the owner is disabled meanwhile,
// Tab/Enter/Escape work as in a dialog, and the application's message
// filter still sees every posted message.
#include <windows.h>

#include <functional>

namespace klipora::ui {

// Runs until `finished` holds or the form is gone. A WM_QUIT that arrives
// meanwhile ends the loop and is posted again for the outer loop.
void runModalLoop(HWND form, HWND owner, const std::function<bool()>& finished);

// Call after making `finished` true: a handler may run inside the loop's
// wait (messages sent from other threads or programs), and only a posted
// message lets the loop look again.
void wakeModalLoop(HWND form);

}  // namespace klipora::ui
