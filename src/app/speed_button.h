#pragma once
// TMySpeedButton: a flat button that shows its hint from the start and
// carries a help context number.
#include <windows.h>

#include <memory>
#include <string>

#include "app/ui/handles.h"

namespace klipora {

class Tooltip;

class TMySpeedButton {
 public:
  TMySpeedButton(HWND parent, int id, int left, int top, int width, int height,
                 const std::string& caption, bool flat = true);
  ~TMySpeedButton();

  HWND hwnd() const { return button_.get(); }
  const std::string& Hint() const { return hint_; }
  void setHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void setShowHint(bool value);
  int HelpContext() const { return helpContext_; }
  void setHelpContext(int value) { helpContext_ = value; }

 private:
  ui::WindowHandle button_;
  std::unique_ptr<Tooltip> tooltip_;
  std::string hint_;
  bool showHint_ = true;
  int helpContext_ = 0;
};

}  // namespace klipora
