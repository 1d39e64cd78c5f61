#include "app/ui/application.h"

#include "app/error_reporting.h"
#include "base/message_pump.h"

namespace klipora::ui {
namespace {

class ApplicationPump : public MessagePump {
 public:
  void processPendingMessages() override { Application::instance().processMessages(); }
};

}  // namespace

Application& Application::instance() {
  static Application application;
  return application;
}

bool Application::filterMessage(MSG& message) {
  if (!filter_) return false;
  return guardedCall([&] { return filter_(message); }, true);
}

void Application::dispatch(MSG& message) {
  if (filterMessage(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int Application::run() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) {
      message.wParam = 1;
      break;
    }
    dispatch(message);
  }
  terminated_ = true;
  return static_cast<int>(message.wParam);
}

void Application::processMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    dispatch(message);
  }
}

void Application::terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

void Application::registerMessagePump() {
  static ApplicationPump pump;
  setActiveMessagePump(&pump);
}

}  // namespace klipora::ui
