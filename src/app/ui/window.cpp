#include "app/ui/window.h"

#include "app/error_reporting.h"
#include "app/strings.h"
#include "base/error.h"

namespace klipora::ui {

Window::~Window() { destroy(); }

void Window::destroy() {
  if (hwnd_) {
    // Detach first: the messages of the destruction must not reach a half-destroyed object.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    const HWND hwnd = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
}

void Window::registerClass(const wchar_t* className, UINT classStyle, HBRUSH background,
                           HICON icon) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, className, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
}

void Window::create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
  CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height, parent, menuOrId,
                  GetModuleHandleW(nullptr), this);
  // hwnd_ was set on the first message; a failed creation leaves it null.
  if (!hwnd_) throw Error(text::WindowCreationFailed);
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return defaultHandling(message, wParam, lParam);
}

LRESULT Window::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self && message == WM_NCCREATE) {
    // Only WM_NCCREATE carries the object; a window of one of our classes
    // created without one (by another module) gets default handling.
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    self->hwnd_ = nullptr;
    guardedCall([self] { self->onDestroyed(); });
    return result;
  }
  return guardedCall([&] { return self->handleMessage(message, wParam, lParam); }, LRESULT{0});
}

void setFont(HWND window, HFONT font) {
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace klipora::ui
