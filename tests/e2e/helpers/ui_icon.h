#pragma once
// Which stock icon a window's icon static shows. Icon handles of another
// process cannot be inspected (Wine keeps them per process), so the static's
// pixels on the screen are compared with the stock icons drawn here.
#include <windows.h>

#include <string>

namespace klipora::uihelper {

struct IconMatch {
  std::string name;  // "exclamation", "hand", "question", "asterisk" or "none"
  double distance;   // mean absolute channel difference of the best match
};

IconMatch identifyStockIcon(HWND iconStatic);

}  // namespace klipora::uihelper
