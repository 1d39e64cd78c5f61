#include "capture/screen_capture.h"

#include <optional>

#include "app/message_box.h"
#include "app/strings.h"
#include "app/ui/handles.h"

namespace klipora::capture {
namespace {

// The whole virtual screen, copied once per capture: pixel (0, 0) is the
// screen point `origin`.
struct Snapshot {
  ui::MemoryDc dc;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  RECT area{};  // screen coordinates

  ~Snapshot() {
    if (dc && previous) SelectObject(dc.get(), previous);
    if (bitmap) DeleteObject(bitmap);
  }
};

RECT virtualScreen(HDC display) {
  if (GetSystemMetrics(SM_CMONITORS) > 0) {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  }
  return {0, 0, GetDeviceCaps(display, HORZRES), GetDeviceCaps(display, VERTRES)};
}

// A memory DC holding the screen; without a selected bitmap the later copy
// yields nothing, as on a failed snapshot.
void SnapshotVirtualScreen(Snapshot& snapshot) {
  ui::MemoryDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  if (!display) return;
  snapshot.dc.reset(CreateCompatibleDC(display.get()));
  snapshot.area = virtualScreen(display.get());
  const int width = snapshot.area.right - snapshot.area.left;
  const int height = snapshot.area.bottom - snapshot.area.top;
  if (!snapshot.dc || width <= 0 || height <= 0) return;
  snapshot.bitmap = CreateCompatibleBitmap(display.get(), width, height);
  if (!snapshot.bitmap) return;
  snapshot.previous = SelectObject(snapshot.dc.get(), snapshot.bitmap);
  if (!snapshot.previous) return;
  BitBlt(snapshot.dc.get(), 0, 0, width, height, display.get(), snapshot.area.left,
         snapshot.area.top, SRCCOPY);
}

struct Target {
  HWND window = nullptr;
  RECT r{};  // what the capture is about: pointer and off-screen tests
  RECT s{};  // what is copied
};

// Windows on a display whose scaling the process does not know report
// logical sizes; GetWindowRect fails for a window closed meanwhile.
std::optional<Target> findTarget(TCaptureKind kind) {
  Target t;
  if (kind == ckScreen) {
    t.window = GetDesktopWindow();
    if (GetSystemMetrics(SM_CMONITORS) > 1) {
      const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
      const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
      t.r = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
             y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    } else if (!GetWindowRect(t.window, &t.r)) {
      return std::nullopt;
    }
    t.s = t.r;
  } else {
    t.window = GetForegroundWindow();
    if (!t.window || !GetWindowRect(t.window, &t.r)) return std::nullopt;
    t.s = t.r;
    if (kind == ckClient) {
      // The client area in screen coordinates: its origin mapped to the
      // screen, its size from GetClientRect.
      RECT client{};
      POINT origin{0, 0};
      if (!GetClientRect(t.window, &client) || !ClientToScreen(t.window, &origin)) {
        return std::nullopt;
      }
      t.s = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    }
  }
  if (t.s.right <= t.s.left || t.s.bottom <= t.s.top) return std::nullopt;
  return t;
}

// The pointer image with its hot spot at the place it pointed to.
void drawPointer(HDC target, const Target& t, POINT position, HCURSOR threadCursor) {
  POINT client = position;
  if (!PtInRect(&t.r, position) || !ScreenToClient(t.window, &client)) return;
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  const bool haveInfo = QueryCursorInfo(info);
  HICON copied = haveInfo && info.flags == CURSOR_SHOWING ? CopyIcon(info.hCursor) : nullptr;
  const HICON image = copied ? copied : threadCursor;
  if (!image) return;
  POINT at = client;
  ICONINFO iconInfo{};
  if (GetIconInfo(image, &iconInfo)) {
    const POINT screen = haveInfo ? info.ptScreenPos : position;
    at = {screen.x - static_cast<LONG>(iconInfo.xHotspot) - t.s.left,
          screen.y - static_cast<LONG>(iconInfo.yHotspot) - t.s.top};
    if (iconInfo.hbmMask) DeleteObject(iconInfo.hbmMask);
    if (iconInfo.hbmColor) DeleteObject(iconInfo.hbmColor);
  }
  DrawIcon(target, at.x, at.y, image);
  if (copied) DestroyIcon(copied);
}

bool outside(const RECT& r, const RECT& screen) {
  return r.left < screen.left || r.top < screen.top || r.right > screen.right ||
         r.bottom > screen.bottom;
}

}  // namespace

bool QueryCursorInfo(CURSORINFO& info) {
  using GetCursorInfoFn = BOOL(WINAPI*)(PCURSORINFO);
  const HMODULE user32 = GetModuleHandleW(L"User32.dll");
  if (!user32) return false;
  const auto function = reinterpret_cast<GetCursorInfoFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetCursorInfo")));
  return function && function(&info);
}

bool CaptureArea(ScreenBitmap& bitmap, TCaptureKind kind, bool withPointer) {
  POINT position{};
  GetCursorPos(&position);
  const HCURSOR threadCursor = GetCursor();

  const std::optional<Target> target = findTarget(kind);
  if (!target) {
    bitmap.reset();
    ShowMessageBox(text::NothingToCapture, "", mkWarning, btOK);
    return false;
  }
  bool captured = false;
  RECT screenArea{};
  {
    Snapshot snapshot;
    SnapshotVirtualScreen(snapshot);
    screenArea = snapshot.area;
    const int width = target->s.right - target->s.left;
    const int height = target->s.bottom - target->s.top;
    if (bitmap.create(width, height)) {
      ui::MemoryDc dc(CreateCompatibleDC(snapshot.dc.get()));
      if (dc) {
        ui::SelectObjectScope selected(dc.get(), bitmap.handle());
        if (snapshot.previous) {
          BitBlt(dc.get(), 0, 0, width, height, snapshot.dc.get(),
                 target->s.left - snapshot.area.left, target->s.top - snapshot.area.top, SRCCOPY);
        }
        if (withPointer) drawPointer(dc.get(), *target, position, threadCursor);
        captured = true;
      }
    }
  }
  if (!captured) {
    bitmap.reset();
    ShowMessageBox(text::CaptureOutOfMemory, "", mkError, btOK);
    return false;
  }
  if (outside(target->r, screenArea)) {
    ShowMessageBox(text::PartlyOffScreen, "", mkWarning, btOK);
  }
  return true;
}

}  // namespace klipora::capture
