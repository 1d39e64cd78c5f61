#include "app/speed_button.h"

#include "app/tooltip.h"
#include "app/ui/wide_text.h"

namespace klipora {

TMySpeedButton::TMySpeedButton(HWND parent, int id, int left, int top, int width, int height,
                               const std::string& caption, bool flat)
    : button_(CreateWindowExW(0, L"BUTTON", ui::toWide(caption).c_str(),
                              WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | (flat ? BS_FLAT : 0), left,
                              top, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr)),
      tooltip_(std::make_unique<Tooltip>(button_.get())) {
  SendMessageW(button_.get(), WM_SETFONT, SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
  tooltip_->setActive(showHint_);
}

TMySpeedButton::~TMySpeedButton() = default;

void TMySpeedButton::setHint(const std::string& hint) {
  hint_ = hint;
  tooltip_->setText(hint_);
}

void TMySpeedButton::setShowHint(bool value) {
  showHint_ = value;
  tooltip_->setActive(value);
}

}  // namespace klipora
