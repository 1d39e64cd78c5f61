#pragma once
// Long waits in the core keep the user interface alive through this hook;
// the Win32 shell registers the real message pump (which applies the
// application's message filter), tests a recording fake.

namespace klipora {

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Handles every message that is waiting now and returns; never blocks.
  virtual void processPendingMessages() = 0;
};

// The pump long waits call; null until the shell registers one.
MessagePump* activeMessagePump();
void setActiveMessagePump(MessagePump* pump);

}  // namespace klipora
