#pragma once
// A hint (tool tip) bound to one control.
#include <windows.h>

#include <string>

#include "app/ui/handles.h"

namespace klipora {

class Tooltip {
 public:
  // Attaches a tool tip to `control`; the text may be set later.
  explicit Tooltip(HWND control);
  void setText(const std::string& text);
  void setActive(bool active);

 private:
  HWND control_;
  ui::WindowHandle tooltip_;
};

}  // namespace klipora
