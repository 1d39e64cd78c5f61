#include "app/single_instance.h"

#include <string>

#include "app/message_box.h"
#include "app/strings.h"
#include "app/ui/application.h"
#include "app/ui/handles.h"

namespace klipora {

bool AnotherInstanceRunning = false;

namespace {

constexpr wchar_t kMutexName[] = L"KLP_SI";
constexpr wchar_t kMainClass[] = L"TMain";
constexpr wchar_t kTitlePart[] = L"Klipora";

// Closed by the process end, as the running instance relies on it.
ui::KernelHandle instanceMutex;

bool isAccepted(HWND window) {
  wchar_t title[1024] = {};
  GetWindowTextW(window, title, 1024);
  return std::wstring(title).find(kTitlePart) != std::wstring::npos && IsInstanceMainWindow(window);
}

HWND walk(UINT direction) {
  for (HWND window = FindWindowW(kMainClass, nullptr); window;
       window = GetWindow(window, direction)) {
    if (isAccepted(window)) return window;
  }
  return nullptr;
}

}  // namespace

bool IsInstanceMainWindow(HWND window) {
  wchar_t className[1025] = {};
  GetClassNameW(window, className, 1025);
  return std::wstring(className) == kMainClass && (GetWindowLongW(window, GWL_STYLE) & 1) == 0;
}

HWND findInstanceMainWindow() {
  if (HWND window = walk(GW_HWNDNEXT)) return window;
  return walk(GW_HWNDPREV);
}

void CheckSingleInstance() {
  AnotherInstanceRunning = false;
  instanceMutex.reset(CreateMutexW(nullptr, TRUE, kMutexName));
  if (GetLastError() != ERROR_ALREADY_EXISTS) return;

  ShowMessageBox(text::AlreadyRunning, "", mkError, btOK);
  AnotherInstanceRunning = true;
  if (HWND running = findInstanceMainWindow()) {
    // The running instance may only come to the front if we allow it.
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    AllowSetForegroundWindow(processId);
    PostMessageW(running, WM_SYSCOMMAND, SC_RESTORE, SC_RESTORE);
  }
  ui::Application::instance().terminate();
}

}  // namespace klipora
