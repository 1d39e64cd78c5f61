#pragma once
// Owning wrappers for the Win32 handles the shell keeps: each closes its
// handle exactly once, on every path.
#include <windows.h>

#include <utility>

namespace klipora::ui {

template <typename Handle, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

namespace detail {
inline void closeKernelHandle(HANDLE h) { CloseHandle(h); }
inline void destroyWindow(HWND h) { DestroyWindow(h); }
inline void deleteFont(HFONT h) { DeleteObject(h); }
inline void destroyMenu(HMENU h) { DestroyMenu(h); }
inline void deleteDc(HDC h) { DeleteDC(h); }
}  // namespace detail

using KernelHandle = UniqueHandle<HANDLE, detail::closeKernelHandle>;
using WindowHandle = UniqueHandle<HWND, detail::destroyWindow>;
using FontHandle = UniqueHandle<HFONT, detail::deleteFont>;
using MenuHandle = UniqueHandle<HMENU, detail::destroyMenu>;
using MemoryDc = UniqueHandle<HDC, detail::deleteDc>;

// A device context obtained with GetDC, released to its window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects a GDI object into a DC for one scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  ~SelectObjectScope() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace klipora::ui
