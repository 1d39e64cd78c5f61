#include "app/input_query.h"

#include <windows.h>

#include "app/input_query_layout.h"
#include "app/strings.h"
#include "app/ui/handles.h"
#include "app/ui/modal_loop.h"
#include "app/ui/wide_text.h"
#include "app/ui/window.h"

namespace klipora {
namespace {

constexpr wchar_t kClassName[] = L"TInputQueryForm";
constexpr int kMaxLength = 255;
constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

ui::FontHandle createFormFont() {
  ui::WindowDc screen(nullptr);
  LOGFONTW font{};
  font.lfHeight = -MulDiv(8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  return ui::FontHandle(CreateFontIndirectW(&font));
}

InputQueryMetrics measure(HFONT font, const std::wstring& prompt) {
  ui::WindowDc screen(nullptr);
  ui::SelectObjectScope select(screen.get(), font);
  InputQueryMetrics metrics;
  SIZE extent{};
  GetTextExtentPoint32W(screen.get(), kLetters, 52, &extent);
  metrics.textWidth52 = extent.cx;
  metrics.textHeight = extent.cy;

  RECT promptRect{0, 0, inputQueryPromptMaxWidth(extent.cx), 0};
  DrawTextW(screen.get(), prompt.c_str(), static_cast<int>(prompt.size()), &promptRect,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  metrics.promptWidth = promptRect.right - promptRect.left;
  metrics.promptHeight = promptRect.bottom - promptRect.top;

  // A single-line edit: the text height plus room for its sunken border.
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.get(), &tm);
  metrics.editHeight = tm.tmHeight + tm.tmHeight / 4 + 4 * GetSystemMetrics(SM_CYBORDER);
  return metrics;
}

class InputQueryForm : public ui::Window {
 public:
  InputQueryForm(const std::string& caption, const std::string& prompt, const std::string& value,
                 bool password) {
    registerClass(kClassName);
    const std::wstring promptText = ui::toWide(prompt);
    const InputQueryLayout layout = layoutInputQuery(measure(font_.get(), promptText));

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    owner_ = GetActiveWindow();
    create(kClassName, ui::toWide(caption), style, exStyle, left, top, width, height, owner_);

    addControl(L"STATIC", promptText, SS_LEFT | SS_NOPREFIX, 0, layout.prompt, 0);
    DWORD editStyle = WS_TABSTOP | ES_AUTOHSCROLL | (password ? ES_PASSWORD : 0);
    edit_ = addControl(L"EDIT", ui::toWide(value), editStyle, WS_EX_CLIENTEDGE, layout.edit, 100);
    SendMessageW(edit_, EM_SETLIMITTEXT, kMaxLength, 0);
    if (password) SendMessageW(edit_, EM_SETPASSWORDCHAR, L'*', 0);
    addControl(L"BUTTON", ui::toWide(text::ButtonOK), WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
               layout.okButton, IDOK);
    addControl(L"BUTTON", ui::toWide(text::ButtonCancel), WS_TABSTOP | BS_PUSHBUTTON, 0,
               layout.cancelButton, IDCANCEL);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
  }

  ~InputQueryForm() override { destroy(); }

  // Shows the form modally; true when confirmed with OK.
  bool execute() {
    SetFocus(edit_);
    ui::runModalLoop(hwnd(), owner_, [this] { return result_ != 0; });
    return result_ == IDOK;
  }

  const std::string& text() const { return text_; }

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
          text_ = ui::windowText(edit_);
          finish(IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
          finish(IDCANCEL);
        }
        return 0;
      case WM_CLOSE:
        finish(IDCANCEL);
        return 0;
      case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
      case WM_ACTIVATE:
        // Keep the caret in the edit when the user comes back to the form.
        if (LOWORD(wParam) != WA_INACTIVE && edit_) SetFocus(edit_);
        return 0;
    }
    return defaultHandling(message, wParam, lParam);
  }

 private:
  void finish(int result) {
    result_ = result;
    ui::wakeModalLoop(hwnd());
  }

  HWND addControl(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                  const LayoutRect& rect, int id) {
    const HWND control = CreateWindowExW(
        exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
        rect.width, rect.height, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    ui::setFont(control, font_.get());
    return control;
  }

  ui::FontHandle font_ = createFormFont();
  HWND owner_ = nullptr;
  HWND edit_ = nullptr;
  int result_ = 0;
  std::string text_;
};

}  // namespace

bool InputQueryBox(const std::string& caption, const std::string& prompt, std::string& value,
                   bool password) {
  // The form's destructor destroys the window on every path, errors included.
  InputQueryForm form(caption, prompt, value, password);
  if (!form.execute()) return false;
  value = form.text();
  return true;
}

}  // namespace klipora
