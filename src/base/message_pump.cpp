#include "base/message_pump.h"

namespace klipora {
namespace {
MessagePump* registeredPump = nullptr;
}

MessagePump* activeMessagePump() { return registeredPump; }
void setActiveMessagePump(MessagePump* pump) { registeredPump = pump; }

}  // namespace klipora
