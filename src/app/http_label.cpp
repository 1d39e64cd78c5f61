#include "app/http_label.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "app/link_cursor.h"
#include "app/tooltip.h"
#include "app/ui/wide_text.h"

namespace klipora {
namespace {

constexpr wchar_t kClassName[] = L"THTTPLabel";

}  // namespace

COLORREF colorToRGB(TColor color) {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color);
}

THTTPLabel::THTTPLabel(HWND parent, int left, int top, int width, int height,
                       const std::string& caption) {
  registerClass(kClassName, 0, nullptr);
  create(kClassName, ui::toWide(caption), WS_CHILD | WS_VISIBLE, 0, left, top, width, height,
         parent);
  baseFont_ = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
  tooltip_ = std::make_unique<Tooltip>(hwnd());
  tooltip_->setActive(false);
  refreshAppearance();
}

THTTPLabel::~THTTPLabel() {
  tooltip_.reset();
  destroy();
}

void THTTPLabel::setUrl(const std::string& url) {
  if (url == url_) return;
  url_ = url;
  if (showUrlAsHint_) setHint(url_);
  refreshAppearance();
}

void THTTPLabel::setShowUrlAsHint(bool value) {
  showUrlAsHint_ = value;
  setShowHint(value);
  if (value) setHint(url_);
}

void THTTPLabel::setHint(const std::string& hint) {
  hint_ = hint;
  tooltip_->setText(hint_);
}

void THTTPLabel::setShowHint(bool value) {
  showHint_ = value;
  tooltip_->setActive(value);
}

void THTTPLabel::setCaption(const std::string& caption) {
  SetWindowTextW(hwnd(), ui::toWide(caption).c_str());
  refreshAppearance();
}

void THTTPLabel::setBaseFont(HFONT font) {
  baseFont_ = font;
  styledFont_.reset();
  refreshAppearance();
}

HWND THTTPLabel::formHandle() const { return GetAncestor(hwnd(), GA_ROOT); }

bool THTTPLabel::formActive() const { return GetActiveWindow() == formHandle(); }

void THTTPLabel::playFocusSound() const {
  if (playSoundOnFocus_) PlaySoundW(L"CCSelect", nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}

void THTTPLabel::fire(const TNotifyEvent& event, THTTPLabel& label) {
  if (event) event(label);
}

void THTTPLabel::mouseEnter() {
  mouseOver_ = true;
  if (formActive()) {
    playFocusSound();
    if (highlights()) {
      applyAppearance(fontColHighlightFocused_, fontStyleHighlightFocused_, bgColorHighlight_);
    }
    fire(OnGetFocusWindowActive, *this);
  } else {
    if (highlights()) {
      applyAppearance(fontColHighlightNoneFocused_, fontStyleHighlightNoneFocused_, background_);
    }
    fire(OnGetFocusWindowInActive, *this);
  }
  fire(OnGetFocus, *this);
}

void THTTPLabel::mouseLeave() {
  mouseOver_ = false;
  applyAppearance(fontColorNormal_, fontStyleNormal_, bgColorNormal_);
  fire(formActive() ? OnLooseFocusWindowActive : OnLooseFocusWindowInActive, *this);
  fire(OnLooseFocus, *this);
}

void THTTPLabel::click() {
  if (!url_.empty()) {
    ShellExecuteW(formHandle(), L"open", ui::toWide(url_).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  fire(OnClick, *this);
}

void THTTPLabel::refreshAppearance() {
  if (!mouseOver_) {
    applyAppearance(fontColorNormal_, fontStyleNormal_, bgColorNormal_);
  } else if (formActive()) {
    applyAppearance(fontColHighlightFocused_, fontStyleHighlightFocused_, bgColorHighlight_);
    playFocusSound();
  } else {
    applyAppearance(fontColHighlightNoneFocused_, fontStyleHighlightNoneFocused_, bgColorNormal_);
  }
}

void THTTPLabel::applyAppearance(TColor text, TFontStyles style, TColor background) {
  textColor_ = text;
  background_ = background;
  if (style != style_ || !styledFont_) {
    style_ = style;
    LOGFONTW font{};
    GetObjectW(baseFont_ ? static_cast<HGDIOBJ>(baseFont_) : GetStockObject(DEFAULT_GUI_FONT),
               sizeof font, &font);
    font.lfWeight = (style & fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (style & fsItalic) ? TRUE : FALSE;
    font.lfUnderline = (style & fsUnderline) ? TRUE : FALSE;
    font.lfStrikeOut = (style & fsStrikeOut) ? TRUE : FALSE;
    styledFont_.reset(CreateFontIndirectW(&font));
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void THTTPLabel::paint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  const HBRUSH brush = CreateSolidBrush(colorToRGB(background_));
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  const std::wstring caption = ui::toWide(ui::windowText(hwnd()));
  {
    ui::SelectObjectScope select(dc, styledFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorToRGB(textColor_));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
              DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }
  EndPaint(hwnd(), &ps);
}

LRESULT THTTPLabel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (!mouseOver_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&track);
        mouseEnter();
      }
      return 0;
    case WM_MOUSELEAVE:
      mouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(hwnd());
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      ReleaseCapture();
      RECT client;
      GetClientRect(hwnd(), &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&client, at)) click();
      return 0;
    }
    case WM_SETCURSOR:
      SetCursor(url_.empty() ? LoadCursorW(nullptr, IDC_ARROW) : linkCursor());
      return TRUE;
    case WM_SETFONT:
      setBaseFont(reinterpret_cast<HFONT>(wParam));
      return 0;
  }
  return defaultHandling(message, wParam, lParam);
}

}  // namespace klipora
