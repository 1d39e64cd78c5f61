#pragma once
// Finding top-level windows by class and caption, and describing them and
// their controls.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace klipora::uihelper {

struct Selector {
  std::optional<std::wstring> windowClass;
  std::optional<std::wstring> caption;      // exact
  std::optional<std::wstring> captionPart;  // substring
  std::optional<HWND> handle;
  bool visibleOnly = false;
  DWORD timeoutMs = 5000;

  bool matches(HWND window) const;
};

std::vector<HWND> findWindows(const Selector& selector);
// Waits up to the selector's time-out for at least one match.
std::vector<HWND> waitForWindows(const Selector& selector);
// Waits up to the selector's time-out until nothing matches.
bool waitUntilGone(const Selector& selector);

std::vector<HWND> childControls(HWND window);
// Shown in the taskbar: visible, and either WS_EX_APPWINDOW or an unowned
// window that is not a tool window.
bool hasTaskbarEntry(HWND window);

void printWindowFacts(HWND window);
void printControlFacts(HWND window);

}  // namespace klipora::uihelper
