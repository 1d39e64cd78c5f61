#include <algorithm>
#include <chrono>
#include <thread>

#include "app/tools.h"
#include "base/message_pump.h"

namespace klipora {

// Without a window system there is nothing to wake up for, so the wait
// sleeps in short slices and lets a registered pump run between them.
void TMyTools::WaitMilliseconds(int milliseconds) const {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
  for (;;) {
    if (MessagePump* pump = activeMessagePump()) pump->processPendingMessages();
    const auto now = Clock::now();
    if (now >= end) break;
    std::this_thread::sleep_for(
        std::min<Clock::duration>(end - now, std::chrono::milliseconds(10)));
  }
}

}  // namespace klipora
