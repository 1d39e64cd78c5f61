#include "app/tooltip.h"

#include <commctrl.h>

#include "app/ui/wide_text.h"

namespace klipora {
namespace {

TTTOOLINFOW toolInfo(HWND control) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(control);
  info.uId = reinterpret_cast<UINT_PTR>(control);
  return info;
}

}  // namespace

Tooltip::Tooltip(HWND control)
    : control_(control),
      tooltip_(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(control),
                               nullptr, GetModuleHandleW(nullptr), nullptr)) {
  TTTOOLINFOW info = toolInfo(control_);
  info.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Tooltip::setText(const std::string& text) {
  std::wstring wide = ui::toWide(text);
  TTTOOLINFOW info = toolInfo(control_);
  info.lpszText = wide.data();
  SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void Tooltip::setActive(bool active) {
  SendMessageW(tooltip_.get(), TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

}  // namespace klipora
