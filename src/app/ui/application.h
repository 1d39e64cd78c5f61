#pragma once
// The application object: title, the posted-message filter and the message
// loop. The same filter runs in the main loop and in every pump that long
// waits use, so a restore request is handled wherever the program waits.
#include <windows.h>

#include <functional>
#include <string>

namespace klipora::ui {

class Application {
 public:
  // Returns true when the message was handled and must not be dispatched.
  using MessageFilter = std::function<bool(MSG&)>;

  static Application& instance();

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }

  void setMessageFilter(MessageFilter filter) { filter_ = std::move(filter); }

  // False until the main form has been shown explicitly once.
  bool showMainForm() const { return showMainForm_; }
  void setShowMainForm(bool show) { showMainForm_ = show; }

  // Runs the filter on one retrieved message; true when it was handled.
  bool filterMessage(MSG& message);
  // Filters, translates and dispatches one retrieved message.
  void dispatch(MSG& message);

  // Runs until WM_QUIT; returns its exit code.
  int run();
  // Handles every waiting message and returns. A WM_QUIT found here is put
  // back so the outer loop still ends.
  void processMessages();
  bool terminated() const { return terminated_; }
  void terminate();

  // Makes processMessages the pump of klipora::MessagePump waits.
  void registerMessagePump();

 private:
  Application() = default;

  std::string title_;
  MessageFilter filter_;
  bool showMainForm_ = true;
  bool terminated_ = false;
};

}  // namespace klipora::ui
