#include "ui_windows.h"

#include "ui_text.h"

namespace klipora::uihelper {

bool Selector::matches(HWND window) const {
  if (handle && *handle != window) return false;
  if (visibleOnly && !IsWindowVisible(window)) return false;
  if (windowClass && className(window) != *windowClass) return false;
  if (caption || captionPart) {
    const std::wstring text = windowCaption(window);
    if (caption && text != *caption) return false;
    if (captionPart && text.find(*captionPart) == std::wstring::npos) return false;
  }
  return true;
}

std::vector<HWND> findWindows(const Selector& selector) {
  struct Search {
    const Selector* selector;
    std::vector<HWND> found;
  } search{&selector, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (s->selector->matches(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> waitForWindows(const Selector& selector) {
  const DWORD start = GetTickCount();
  for (;;) {
    auto found = findWindows(selector);
    if (!found.empty() || GetTickCount() - start >= selector.timeoutMs) return found;
    Sleep(50);
  }
}

bool waitUntilGone(const Selector& selector) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (findWindows(selector).empty()) return true;
    if (GetTickCount() - start >= selector.timeoutMs) return false;
    Sleep(50);
  }
}

std::vector<HWND> childControls(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

bool hasTaskbarEntry(HWND window) {
  if (!IsWindowVisible(window)) return false;
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (exStyle & WS_EX_APPWINDOW) return true;
  return GetWindow(window, GW_OWNER) == nullptr && !(exStyle & WS_EX_TOOLWINDOW);
}

void printWindowFacts(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  fact("window", hex(reinterpret_cast<ULONG_PTR>(window)));
  fact("class", className(window));
  fact("caption", windowCaption(window));
  fact("visible", IsWindowVisible(window) ? "1" : "0");
  fact("minimized", IsIconic(window) ? "1" : "0");
  fact("style", hex(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE))));
  fact("exstyle", hex(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE))));
  fact("owner", hex(reinterpret_cast<ULONG_PTR>(GetWindow(window, GW_OWNER))));
  fact("taskbar", hasTaskbarEntry(window) ? "1" : "0");
  fact("foreground", GetForegroundWindow() == window ? "1" : "0");
  fact("pid", std::to_string(pid));
}

// One line per control: tab-separated key=value fields, text last.
void printControlFacts(HWND window) {
  for (HWND child : childControls(window)) {
    const std::wstring cls = className(child);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    std::string line = "id=" + std::to_string(GetDlgCtrlID(child)) + "\tclass=" + escaped(cls) +
                       "\tstyle=" + hex(style) +
                       "\tvisible=" + (IsWindowVisible(child) ? "1" : "0");
    if (_wcsicmp(cls.c_str(), L"Edit") == 0) {
      DWORD_PTR passwordChar = 0;
      SendMessageTimeoutW(child, EM_GETPASSWORDCHAR, 0, 0, SMTO_ABORTIFHUNG, 2000, &passwordChar);
      line += "\tpassword=" + std::string((style & ES_PASSWORD) || passwordChar ? "1" : "0");
      if (passwordChar) {
        line += "\tpasswordchar=" + escaped(std::wstring(1, static_cast<wchar_t>(passwordChar)));
      }
    }
    line += "\ttext=" + escaped(windowText(child));
    fact("control", line);
  }
}

}  // namespace klipora::uihelper
