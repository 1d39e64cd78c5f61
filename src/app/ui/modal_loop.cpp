#include "app/ui/modal_loop.h"

#include "app/ui/application.h"

namespace klipora::ui {

void runModalLoop(HWND form, HWND owner, const std::function<bool()>& finished) {
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  ShowWindow(form, SW_SHOW);
  SetForegroundWindow(form);

  Application& application = Application::instance();
  MSG message;
  while (!finished() && IsWindow(form)) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (application.filterMessage(message)) continue;
    if (IsDialogMessageW(form, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }

  // Enable the owner before the form goes, so activation returns to it.
  if (disableOwner) EnableWindow(owner, TRUE);
  if (IsWindow(form)) ShowWindow(form, SW_HIDE);
}

void wakeModalLoop(HWND form) { PostMessageW(form, WM_NULL, 0, 0); }

}  // namespace klipora::ui
