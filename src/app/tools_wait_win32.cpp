#include <windows.h>

#include "app/tools.h"
#include "base/message_pump.h"

namespace klipora {
namespace {

void processPendingMessages() {
  // The shell's pump applies the application's message filter; dispatching
  // here would bypass it.
  if (MessagePump* pump = activeMessagePump()) {
    pump->processPendingMessages();
    return;
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void TMyTools::WaitMilliseconds(int milliseconds) const {
  const DWORD wanted = milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0;
  const DWORD start = GetTickCount();
  for (;;) {
    processPendingMessages();
    // Unsigned difference: correct across the 49.7-day wrap of the counter.
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= wanted) break;
    // Sleeps until a message arrives or the time is up, instead of spinning.
    MsgWaitForMultipleObjectsEx(0, nullptr, wanted - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

}  // namespace klipora
