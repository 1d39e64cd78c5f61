#include "app/main_form.h"

#include <commctrl.h>

#include <chrono>

#include "app/single_instance.h"
#include "app/strings.h"
#include "app/the_ini_file.h"
#include "app/ui/application.h"
#include "app/ui/wide_text.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace klipora {
namespace {

constexpr wchar_t kClassName[] = L"TMain";
constexpr int kClientWidth = 477;
constexpr int kClientHeight = 480;
constexpr int kPageControlHeight = 345;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

int screenDpi() {
  ui::WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

ui::FontHandle createFormFont(int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(8, dpi, 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  return ui::FontHandle(CreateFontIndirectW(&font));
}

}  // namespace

TMain::TMain() : dpi_(screenDpi()), font_(createFormFont(dpi_)) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  registerClass(kClassName);

  // The layout is in pixels at 96 DPI; the program is DPI aware, so it scales itself.
  RECT frame{0, 0, scaled(kClientWidth), scaled(kClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  create(kClassName, ui::toWide(text::AppTitle), kStyle, 0,
         (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
         width, height, nullptr);
  createControls();
  createTrayPopupMenu();
  FormCreate();
}

TMain::~TMain() {
  FormDestroy();
  destroy();
}

void TMain::createControls() {
  pageControl_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                                 0, scaled(kClientWidth), scaled(kPageControlHeight), hwnd(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  ui::setFont(pageControl_, font_.get());
  const char* captions[] = {text::PageGeneral, text::PageHotkey, text::PageActions,
                            text::PageGraphics, text::PageAbout};
  int index = 0;
  for (const char* caption : captions) {
    std::wstring wide = ui::toWide(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    TabCtrl_InsertItem(pageControl_, index++, &item);
  }
}

void TMain::createTrayPopupMenu() {
  trayPopupMenu_.reset(CreatePopupMenu());
  const HMENU menu = trayPopupMenu_.get();
  AppendMenuW(menu, MF_STRING, TrayRestoreId, ui::toWide(text::TrayRestore).c_str());
  AppendMenuW(menu, MF_STRING, TrayMinimizeId, ui::toWide(text::TrayMinimize).c_str());
  AppendMenuW(menu, MF_STRING, Beenden1Id, ui::toWide(text::TrayQuit).c_str());
  SetMenuDefaultItem(menu, TrayRestoreId, FALSE);
}

void TMain::FormCreate() {
  random_.seed(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
  if (AnotherInstanceRunning) {
    ui::Application::instance().terminate();
    return;
  }
  ui::Application& application = ui::Application::instance();
  application.setMessageFilter([this](MSG& message) { return ApplicationMessageFilter(message); });
  application.setShowMainForm(false);
  setTrayMenuStates(true, false);
  clearHotKeyFlags();
  SetWindowTextW(hwnd(), ui::toWide(text::AppTitle).c_str());
  application.setTitle(text::AppTitle);
  HideApplicationButton();
  TabCtrl_SetCurSel(pageControl_, 0);
  setUpSettingsLocation();
  loadSettings();
  registerHotKeys();
  activateTrayIcon();
  createUploadEngine();
}

void TMain::FormDestroy() {
  if (formDestroyed_) return;
  formDestroyed_ = true;
  setTimer1Enabled(false);
  if (AnotherInstanceRunning) return;
  unregisterHotKeys();
  destroyUploadEngine();
  ui::Application& application = ui::Application::instance();
  application.setMessageFilter(nullptr);
}

void TMain::FormShow() {
  setTrayMenuStates(false, true);
  fillControlsFromSettings();
  Timer1Timer();
}

LRESULT TMain::HandleSysCommand(WPARAM command, LPARAM lParam) {
  UINT selected = command & 0xFFF0;
  if (selected == SC_CLOSE) {
    // Close button, Alt+F4 and the system menu's close hide into the tray.
    command = (command & 0x000F) | SC_MINIMIZE;
    selected = SC_MINIMIZE;
  }
  if (selected == SC_MINIMIZE) {
    hideIntoTray();
    return 0;
  }
  const LRESULT result = defaultHandling(WM_SYSCOMMAND, command, lParam);
  if (selected == SC_RESTORE) {
    setTimer1Enabled(true);
    setTrayMenuStates(false, true);
    TrayIconDblClick();
  }
  return result;
}

bool TMain::ApplicationMessageFilter(MSG& message) {
  // Only the form's own requests: another window's posted close (the X window
  // manager posts SC_CLOSE) must still close that window.
  if (message.message != WM_SYSCOMMAND || message.hwnd != hwnd()) return false;
  UINT selected = message.wParam & 0xFFF0;
  if (selected == SC_CLOSE) {
    message.wParam = (message.wParam & 0x000F) | SC_MINIMIZE;
    selected = SC_MINIMIZE;
  }
  if (selected == SC_MINIMIZE) {
    hideIntoTray();
    return true;
  }
  if (selected == SC_RESTORE) {
    setTimer1Enabled(true);
    setTrayMenuStates(false, true);
    TrayIconDblClick();
    return true;
  }
  return false;
}

void TMain::TrayIconDblClick() {
  if (IsWindowVisible(hwnd())) {
    SetForegroundWindow(hwnd());
    return;
  }
  setTimer1Enabled(true);
  ui::Application& application = ui::Application::instance();
  if (application.showMainForm()) {
    ShowWindow(hwnd(), SW_SHOW);
    SendMessageW(hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  } else {
    application.setShowMainForm(true);
    FormShow();
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
  }
  SetForegroundWindow(hwnd());
  const bool visible = IsWindowVisible(hwnd());
  setTrayMenuStates(!visible, visible);
}

void TMain::TrayMinimizeClick() {
  SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  const bool visible = IsWindowVisible(hwnd());
  setTrayMenuStates(!visible, visible);
}

void TMain::Beenden1Click() {
  FormDestroy();
  destroy();
  ui::Application::instance().terminate();
}

void TMain::HideApplicationButton() {
  // The form is the program's only top-level window and carries its own
  // taskbar button: a hidden form already has none, so nothing else to hide.
}

void TMain::Timer1Timer() {
  // Rotates the information pages once the configuration window has them.
}

int TMain::scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

void TMain::onDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  font_ = createFormFont(dpi_);
  ui::setFont(pageControl_, font_.get());
  SetWindowPos(pageControl_, nullptr, 0, 0, scaled(kClientWidth), scaled(kPageControlHeight),
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMain::clearHotKeyFlags() {
  if (!hotKeys_) hotKeys_ = std::make_unique<HotKeys>(hwnd());
  hotKeys_->clearFlags();
}

void TMain::registerHotKeys() {
  if (!captureWorkflow_) captureWorkflow_ = std::make_unique<CaptureWorkflow>(hwnd(), settings_);
  hotKeys_->RegisterHotKeys(settings_);
}

void TMain::unregisterHotKeys() {
  if (hotKeys_) hotKeys_->UnregisterHotKeys();
}

bool TMain::menuItemEnabled(UINT id) const {
  const UINT state = GetMenuState(trayPopupMenu_.get(), id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_DISABLED | MF_GRAYED)) == 0;
}

void TMain::setMenuItemEnabled(UINT id, bool enabled) {
  EnableMenuItem(trayPopupMenu_.get(), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TMain::setTrayMenuStates(bool restoreEnabled, bool minimizeEnabled) {
  setMenuItemEnabled(TrayRestoreId, restoreEnabled);
  setMenuItemEnabled(TrayMinimizeId, minimizeEnabled);
}

void TMain::setTimer1Enabled(bool enabled) {
  if (enabled == timer1Enabled_ || !hwnd()) return;
  timer1Enabled_ = enabled;
  if (enabled) {
    SetTimer(hwnd(), Timer1Id, Timer1Interval, nullptr);
  } else {
    KillTimer(hwnd(), Timer1Id);
  }
}

void TMain::hideIntoTray() {
  setTimer1Enabled(false);
  setTrayMenuStates(true, false);
  activateTrayIcon();
  ShowWindow(hwnd(), SW_HIDE);
  HideApplicationButton();
}

LRESULT TMain::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      return HandleSysCommand(wParam, lParam);
    case WM_TIMER:
      if (wParam == Timer1Id) Timer1Timer();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case TrayRestoreId:
          TrayIconDblClick();
          return 0;
        case TrayMinimizeId:
          TrayMinimizeClick();
          return 0;
        case Beenden1Id:
          Beenden1Click();
          return 0;
      }
      break;
    case WM_HOTKEY:
      if (captureWorkflow_) captureWorkflow_->HandleHotKeyMessage(wParam);
      return 0;
    case WM_DPICHANGED:
      onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      // Only a direct close request ends the program, like "Beenden"; the
      // window's own close commands arrive as SC_CLOSE and hide it.
      Beenden1Click();
      return 0;
  }
  return defaultHandling(message, wParam, lParam);
}

}  // namespace klipora
