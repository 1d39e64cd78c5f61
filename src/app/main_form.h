#pragma once
// TMain: the configuration window and the hub that owns the settings, the
// tray menu, the information-page timer and, later, hotkeys, tray icon and
// upload engine. Hidden at start; closing or minimising hides it into the
// tray; only "Beenden" ends the program.
#include <windows.h>

#include <array>
#include <memory>
#include <random>
#include <string>

#include "app/capture_workflow.h"
#include "app/hotkeys.h"
#include "app/settings.h"
#include "app/ui/handles.h"
#include "app/ui/window.h"

namespace klipora {

class TTheIniFile;

class TMain : public ui::Window {
 public:
  // Command identifiers of the tray menu items (WM_COMMAND to the form).
  static constexpr UINT TrayRestoreId = 101;
  static constexpr UINT TrayMinimizeId = 102;
  static constexpr UINT Beenden1Id = 103;
  static constexpr UINT_PTR Timer1Id = 1;
  static constexpr UINT Timer1Interval = 10000;

  // Creates the window (hidden) and runs FormCreate.
  TMain();
  ~TMain() override;

  void FormCreate();
  void FormDestroy();
  void FormShow();
  // WM_SYSCOMMAND of the form; `command` may be rewritten (close -> minimise).
  LRESULT HandleSysCommand(WPARAM command, LPARAM lParam);
  // Application-wide filter on posted messages; true = handled.
  bool ApplicationMessageFilter(MSG& message);
  void TrayIconDblClick();
  void TrayMinimizeClick();
  void Beenden1Click();
  void HideApplicationButton();
  void Timer1Timer();

  HMENU TrayPopupMenu() const { return trayPopupMenu_.get(); }
  HWND PC() const { return pageControl_; }
  bool menuItemEnabled(UINT id) const;
  bool timer1Enabled() const { return timer1Enabled_; }
  const TSettings& settings() const { return settings_; }
  bool hotKeyRegistered(int index) const { return hotKeys_ && hotKeys_->registered(index); }
  // Folder and file name of the settings file, as set up in FormCreate.
  const std::string& settingsFolder() const { return settingsFolder_; }
  const std::string& settingsFileName() const { return settingsFileName_; }

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int scaled(int pixels) const;
  void onDpiChanged(int dpi, const RECT& suggested);
  void createControls();
  void createTrayPopupMenu();
  void setMenuItemEnabled(UINT id, bool enabled);
  void setTrayMenuStates(bool restoreEnabled, bool minimizeEnabled);
  void setTimer1Enabled(bool enabled);
  void hideIntoTray();
  void setUpSettingsLocation();
  void loadSettings();

  void clearHotKeyFlags();
  void registerHotKeys();
  void unregisterHotKeys();
  // Steps that the tray icon, configuration window and upload work fill in;
  // each is called at its place in the form's life already.
  void activateTrayIcon() {}
  void createUploadEngine() {}
  void destroyUploadEngine() {}
  void fillControlsFromSettings() {}

  int dpi_;
  ui::FontHandle font_;
  ui::MenuHandle trayPopupMenu_;
  HWND pageControl_ = nullptr;
  bool timer1Enabled_ = false;
  bool formDestroyed_ = false;
  std::mt19937 random_;
  std::unique_ptr<TTheIniFile> iniFile_;
  TSettings settings_;
  std::unique_ptr<HotKeys> hotKeys_;
  std::unique_ptr<CaptureWorkflow> captureWorkflow_;
  std::string settingsFolder_;
  std::string settingsFileName_;
};

}  // namespace klipora
