#pragma once
// Base of every Klipora window: the object lives in GWLP_USERDATA and one
// virtual handler receives its messages, run under the error-reporting guard.
#include <windows.h>

#include <string>

namespace klipora::ui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

  // Registers a window class whose procedure forwards to handleMessage
  // (once per class name and process).
  static void registerClass(const wchar_t* className, UINT classStyle = 0,
                            HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                            HICON icon = nullptr);

 protected:
  // Creates the window; handleMessage already sees WM_CREATE.
  void create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle,
              int x, int y, int width, int height, HWND parent, HMENU menuOrId = nullptr);

  // Destroys the window now; derived classes call it from their destructor
  // while their members (fonts, controls) still exist.
  void destroy();

  virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

  // Called after WM_NCDESTROY, when the handle is gone.
  virtual void onDestroyed() {}

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

// Sets the font of a window (a control) without redrawing twice.
void setFont(HWND window, HFONT font);

}  // namespace klipora::ui
