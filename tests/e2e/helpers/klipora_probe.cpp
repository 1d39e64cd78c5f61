// Runs single pieces of Klipora's shell for the e2e tests; each command
// prints its result on stdout and exits 0.
//   klipora_probe msgbox KIND BUTTONS CAPTION TEXT
//   klipora_probe inputquery CAPTION PROMPT VALUE [password]
//   klipora_probe wait MS
//   klipora_probe throw
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/error_reporting.h"
#include "app/input_query.h"
#include "app/message_box.h"
#include "app/tools.h"
#include "app/ui/application.h"
#include "app/ui/wide_text.h"
#include "app/ui/window.h"
#include "base/error.h"

namespace {

using klipora::ui::Application;

void printLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int usage() {
  std::fputs(
      "usage: klipora_probe msgbox KIND BUTTONS CAPTION TEXT\n"
      "       klipora_probe inputquery CAPTION PROMPT VALUE [password]\n"
      "       klipora_probe wait MS\n"
      "       klipora_probe throw\n",
      stderr);
  return 2;
}

// A hidden window that counts its timer ticks and throws on request.
class ProbeWindow : public klipora::ui::Window {
 public:
  static constexpr UINT ThrowMessage = WM_APP + 1;
  static constexpr UINT QuitMessage = WM_APP + 2;

  ProbeWindow() {
    registerClass(L"KliporaProbe");
    create(L"KliporaProbe", L"klipora_probe", WS_OVERLAPPED, 0, 0, 0, 0, 0, nullptr);
  }
  ~ProbeWindow() override { destroy(); }
  int timerMessages = 0;
  bool thrown = false;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_TIMER:
        ++timerMessages;
        return 0;
      case ThrowMessage:
        thrown = true;
        throw klipora::Error("Testfehler");
      case QuitMessage:
        PostQuitMessage(0);
        return 0;
    }
    return defaultHandling(message, wParam, lParam);
  }
};

int runWait(int milliseconds) {
  ProbeWindow window;
  SetTimer(window.hwnd(), 1, 50, nullptr);
  const DWORD start = GetTickCount();
  klipora::MyTools.WaitMilliseconds(milliseconds);
  const DWORD elapsed = GetTickCount() - start;
  KillTimer(window.hwnd(), 1);
  printLine("elapsed " + std::to_string(elapsed) + " ms, " + std::to_string(window.timerMessages) +
            " timer messages");
  return 0;
}

int runThrow() {
  ProbeWindow window;
  // The error escapes the window's handler while the loop runs; the report
  // is modal, and afterwards the loop must go on to the next message.
  PostMessageW(window.hwnd(), ProbeWindow::ThrowMessage, 0, 0);
  MSG message;
  while (!window.thrown && GetMessageW(&message, nullptr, 0, 0) > 0) {
    Application::instance().dispatch(message);
  }
  PostMessageW(window.hwnd(), ProbeWindow::QuitMessage, 0, 0);
  Application::instance().run();
  printLine("still running after the report");
  return 0;
}

int run(const std::vector<std::string>& args) {
  if (args.size() < 2) return usage();
  const std::string& command = args[1];
  if (command == "msgbox" && args.size() == 6) {
    const int kind = std::stoi(args[2]);
    const auto buttons = static_cast<std::uint8_t>(std::stoi(args[3]));
    printLine(std::to_string(klipora::ShowMessageBox(args[5], args[4], kind, buttons)));
    return 0;
  }
  if (command == "inputquery" && (args.size() == 5 || args.size() == 6)) {
    std::string value = args[4];
    const bool password = args.size() == 6 && args[5] == "password";
    const bool confirmed = klipora::InputQueryBox(args[2], args[3], value, password);
    printLine(confirmed ? "1" : "0");
    printLine(value);
    return 0;
  }
  if (command == "wait" && args.size() == 3) return runWait(std::stoi(args[2]));
  if (command == "throw" && args.size() == 2) return runThrow();
  return usage();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  klipora::installCrashHandlers();
  Application::instance().registerMessagePump();
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(klipora::ui::toUtf8(argv[i]));
  try {
    return run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "klipora_probe: %s\n", e.what());
    return 1;
  }
}
