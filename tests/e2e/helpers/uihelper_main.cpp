// uihelper: drives other programs' windows for the end-to-end tests.
//
//   uihelper find       [selector]                 facts of every matching window
//   uihelper controls   [selector]                 facts of the first match and its controls
//   uihelper msgbox     [selector] [--press TEXT]  a message box: caption, text, icon, buttons
//   uihelper click      [selector] --button TEXT [--mouse]
//                                                  BM_CLICK on a button (--mouse: a real click)
//   uihelper settext    [selector] --edit N TEXT   set the text of the N-th edit (from 0)
//   uihelper type       [selector] --edit N TEXT   click into it, select all, type TEXT as keys
//   uihelper syscommand [selector] close|minimize|restore
//   uihelper keys       [selector] CHORD...        SendInput, e.g. alt+f4 (to the match, if any)
//   uihelper gone       [selector]                 wait until nothing matches
//
// selector: --class NAME --caption TEXT --caption-has TEXT --hwnd 0xN --visible
//           --timeout MS (default 5000; waiting for a match or for "gone")
// Output: one "key=value" line per fact (UTF-8; backslash, CR, LF and tab
// escaped as \\ \r \n \t); exit 0 on success, 1 when no window matched or
// the action failed, 2 on a usage error. Windows: window, class, caption,
// visible, minimized, style, exstyle, owner, taskbar, foreground, pid.
// Controls: "control=" with tab-separated id=, class=, style=, visible=,
// password= (edits), text= (last). Message boxes: caption, text, icon
// (exclamation, hand, question, asterisk or none), "button=ID<tab>TEXT" left
// to right; after a press: pressed, closed (1 when the box went away).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "ui_icon.h"
#include "ui_input.h"
#include "ui_text.h"
#include "ui_windows.h"

namespace klipora::uihelper {
namespace {

constexpr int kMessageTextId = 0xFFFF;

struct Options {
  std::wstring command;
  Selector selector;
  std::wstring press;
  std::wstring button;
  int edit = -1;
  bool mouse = false;
  std::vector<std::wstring> rest;
};

int usage() {
  std::fputs("usage: uihelper find|controls|msgbox|click|settext|syscommand|keys|gone [options]\n",
             stderr);
  return 2;
}

bool parse(int argc, wchar_t** argv, Options& options) {
  if (argc < 2) return false;
  options.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == L"--visible") {
      options.selector.visibleOnly = true;
    } else if (arg == L"--mouse") {
      options.mouse = true;
    } else if (arg == L"--class" && hasValue) {
      options.selector.windowClass = argv[++i];
    } else if (arg == L"--caption" && hasValue) {
      options.selector.caption = argv[++i];
    } else if (arg == L"--caption-has" && hasValue) {
      options.selector.captionPart = argv[++i];
    } else if (arg == L"--hwnd" && hasValue) {
      options.selector.handle = reinterpret_cast<HWND>(std::wcstoull(argv[++i], nullptr, 0));
    } else if (arg == L"--timeout" && hasValue) {
      options.selector.timeoutMs = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (arg == L"--press" && hasValue) {
      options.press = argv[++i];
    } else if (arg == L"--button" && hasValue) {
      options.button = argv[++i];
    } else if (arg == L"--edit" && hasValue) {
      options.edit = _wtoi(argv[++i]);
    } else if (arg.starts_with(L"--")) {
      return false;
    } else {
      options.rest.push_back(arg);
    }
  }
  return true;
}

HWND firstMatch(const Selector& selector) {
  const auto found = waitForWindows(selector);
  if (found.empty()) {
    fact("error", "no matching window");
    return nullptr;
  }
  return found.front();
}

bool sameText(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

// Visible push buttons of a dialog, left to right.
std::vector<HWND> visibleButtons(HWND dialog) {
  std::vector<HWND> buttons;
  for (HWND child : childControls(dialog)) {
    if (sameText(className(child), L"Button") && IsWindowVisible(child)) buttons.push_back(child);
  }
  std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
  });
  return buttons;
}

// A button by its text (mnemonics ignored, any case) or by "#ID".
HWND findButton(HWND dialog, const std::wstring& wanted) {
  for (HWND button : visibleButtons(dialog)) {
    if (sameText(withoutMnemonics(windowText(button)), wanted)) return button;
    if (wanted.starts_with(L"#") && GetDlgCtrlID(button) == _wtoi(wanted.c_str() + 1))
      return button;
  }
  return nullptr;
}

bool clickButton(HWND dialog, HWND button, bool mouse = false) {
  fact("pressed", withoutMnemonics(windowText(button)));
  if (mouse) {
    if (!bringToForeground(dialog) || !clickWithMouse(button)) {
      fact("error", "mouse click failed");
      return false;
    }
  } else {
    DWORD_PTR ignored = 0;
    // The click may end the dialog and its process: do not wait for long.
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  Selector closed;
  closed.handle = dialog;
  closed.visibleOnly = true;
  const bool gone = waitUntilGone(closed);
  fact("closed", gone ? "1" : "0");
  return true;
}

HWND iconStatic(HWND dialog) {
  for (HWND child : childControls(dialog)) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    if (sameText(className(child), L"Static") && (style & SS_TYPEMASK) == SS_ICON) return child;
  }
  return nullptr;
}

int messageBox(Options& options) {
  if (!options.selector.windowClass) options.selector.windowClass = L"#32770";
  options.selector.visibleOnly = true;
  HWND box = firstMatch(options.selector);
  if (!box) return 1;
  fact("window", hex(reinterpret_cast<ULONG_PTR>(box)));
  fact("caption", windowCaption(box));
  fact("text", windowText(GetDlgItem(box, kMessageTextId)));
  // Let the box finish painting before its pixels are read.
  bringToForeground(box);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(150);
  const IconMatch icon = identifyStockIcon(iconStatic(box));
  fact("icon", icon.name);
  fact("icon_distance", std::to_string(icon.distance));
  for (HWND button : visibleButtons(box)) {
    fact("button", std::to_string(GetDlgCtrlID(button)) + "\t" +
                       escaped(withoutMnemonics(windowText(button))));
  }
  if (options.press.empty()) return 0;
  HWND button = findButton(box, options.press);
  if (!button) {
    fact("error", "no such button");
    return 1;
  }
  return clickButton(box, button) ? 0 : 1;
}

int click(const Options& options) {
  HWND window = firstMatch(options.selector);
  if (!window) return 1;
  HWND button = findButton(window, options.button);
  if (!button) {
    fact("error", "no such button");
    return 1;
  }
  return clickButton(window, button, options.mouse) ? 0 : 1;
}

HWND nthEdit(HWND window, int wanted) {
  int index = 0;
  for (HWND child : childControls(window)) {
    if (sameText(className(child), L"Edit") && index++ == wanted) return child;
  }
  fact("error", "no such edit control");
  return nullptr;
}

// settext replaces the text by message; type goes through the keyboard like
// a user, so key handlers run too.
int editText(const Options& options, bool asKeys) {
  if (options.edit < 0 || options.rest.size() != 1) return usage();
  HWND window = firstMatch(options.selector);
  if (!window) return 1;
  HWND edit = nthEdit(window, options.edit);
  if (!edit) return 1;
  DWORD_PTR ignored = 0;
  if (asKeys) {
    if (!bringToForeground(window) || !clickWithMouse(edit)) {
      fact("error", "cannot focus the edit control");
      return 1;
    }
    Sleep(100);
    SendMessageTimeoutW(edit, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 2000, &ignored);
    if (!typeText(options.rest[0])) return 1;
    Sleep(200);  // let the keys arrive before the text is read back
  } else {
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options.rest[0].c_str()),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
  }
  fact("text", windowText(edit));
  return 0;
}

int sysCommand(const Options& options) {
  if (options.rest.size() != 1) return usage();
  const std::wstring& name = options.rest[0];
  WPARAM command = 0;
  if (name == L"close") command = SC_CLOSE;
  if (name == L"minimize") command = SC_MINIMIZE;
  if (name == L"restore") command = SC_RESTORE;
  if (!command) return usage();
  HWND window = firstMatch(options.selector);
  if (!window) return 1;
  return PostMessageW(window, WM_SYSCOMMAND, command, 0) ? 0 : 1;
}

int keys(const Options& options) {
  if (options.rest.empty()) return usage();
  const Selector& s = options.selector;
  if (s.windowClass || s.caption || s.captionPart || s.handle) {
    HWND window = firstMatch(s);
    if (!window) return 1;
    if (!bringToForeground(window)) {
      fact("error", "window did not come to the foreground");
      return 1;
    }
  }
  for (const auto& chord : options.rest) {
    if (!pressChord(chord)) {
      fact("error", "cannot press " + escaped(chord));
      return 1;
    }
    Sleep(50);
  }
  return 0;
}

int run(int argc, wchar_t** argv) {
  Options options;
  if (!parse(argc, argv, options)) return usage();
  const std::wstring& command = options.command;
  if (command == L"find") {
    const auto found = waitForWindows(options.selector);
    for (HWND window : found) printWindowFacts(window);
    fact("count", std::to_string(found.size()));
    return found.empty() ? 1 : 0;
  }
  if (command == L"controls") {
    HWND window = firstMatch(options.selector);
    if (!window) return 1;
    printWindowFacts(window);
    printControlFacts(window);
    return 0;
  }
  if (command == L"msgbox") return messageBox(options);
  if (command == L"click") return click(options);
  if (command == L"settext") return editText(options, false);
  if (command == L"type") return editText(options, true);
  if (command == L"syscommand") return sysCommand(options);
  if (command == L"keys") return keys(options);
  if (command == L"gone") return waitUntilGone(options.selector) ? 0 : 1;
  return usage();
}

}  // namespace
}  // namespace klipora::uihelper

int wmain(int argc, wchar_t** argv) { return klipora::uihelper::run(argc, argv); }
