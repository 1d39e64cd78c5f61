#pragma once
// Long waits in the core keep the user interface alive through this hook;
// the Win32 shell supplies the real message pump, tests a recording fake.

namespace klipora {

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Handles every message that is waiting now and returns; never blocks.
  virtual void processPendingMessages() = 0;
};

}  // namespace klipora
