#include "app/main_form.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/module_paths.h"
#include "app/tools.h"
#include "app/ui/application.h"
#include "app/ui/handles.h"
#include "app/ui/wide_text.h"

namespace klipora {
namespace {

class MainFormTest : public testing::Test {
 public:
  void expectHiddenInTray() {
    EXPECT_FALSE(IsWindowVisible(form.hwnd()));
    EXPECT_TRUE(form.menuItemEnabled(TMain::TrayRestoreId));
    EXPECT_FALSE(form.menuItemEnabled(TMain::TrayMinimizeId));
    EXPECT_FALSE(form.timer1Enabled());
  }
  void expectVisible() {
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
    EXPECT_FALSE(form.menuItemEnabled(TMain::TrayRestoreId));
    EXPECT_TRUE(form.menuItemEnabled(TMain::TrayMinimizeId));
    EXPECT_TRUE(form.timer1Enabled());
  }
  void sysCommand(WPARAM command) { SendMessageW(form.hwnd(), WM_SYSCOMMAND, command, 0); }

  TMain form;
};

std::string menuText(HMENU menu, UINT id) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, id, text, 64, MF_BYCOMMAND);
  return ui::toUtf8(text);
}

TEST_F(MainFormTest, StartsHiddenWithItsPagesMenuAndSettingsLocation) {
  expectHiddenInTray();
  wchar_t className[16] = {};
  GetClassNameW(form.hwnd(), className, 16);
  EXPECT_STREQ(className, L"TMain");
  EXPECT_EQ(ui::windowText(form.hwnd()), "Klipora");
  EXPECT_EQ(GetWindowLongW(form.hwnd(), GWL_STYLE) & 1, 0);
  EXPECT_FALSE(ui::Application::instance().showMainForm());

  std::vector<std::string> tabs;
  for (int i = 0; i < TabCtrl_GetItemCount(form.PC()); ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    TabCtrl_GetItem(form.PC(), i, &item);
    tabs.push_back(ui::toUtf8(text));
  }
  EXPECT_EQ(tabs, (std::vector<std::string>{"Allgemein", "Hotkey", "Aktionen", "Grafikoptimierung",
                                            "Info"}));
  EXPECT_EQ(TabCtrl_GetCurSel(form.PC()), 0);

  const HMENU menu = form.TrayPopupMenu();
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(menuText(menu, TMain::TrayRestoreId), "Anzeigen/Konfiguration");
  EXPECT_EQ(menuText(menu, TMain::TrayMinimizeId), "Minimieren");
  EXPECT_EQ(menuText(menu, TMain::Beenden1Id), "Beenden");
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), TMain::TrayRestoreId);

  EXPECT_EQ(form.settingsFileName(), executableBaseName() + ".ini");
  EXPECT_EQ(form.settingsFolder(), joinPath(GetAppDataFolder(), executableBaseName()));
  const DWORD attributes = GetFileAttributesW(ui::toWide(form.settingsFolder()).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(form.settings(), TSettings{});
}

TEST_F(MainFormTest, EveryCloseAndMinimisePathHidesAndRestoreShowsAgain) {
  struct Step {
    const char* name;
    void (*act)(MainFormTest&);
  };
  const Step hides[] = {
      {"SC_CLOSE", [](MainFormTest& t) { t.sysCommand(SC_CLOSE); }},
      {"SC_MINIMIZE", [](MainFormTest& t) { t.sysCommand(SC_MINIMIZE); }},
      {"Minimieren", [](MainFormTest& t) { t.form.TrayMinimizeClick(); }},
      {"menu command",
       [](MainFormTest& t) { SendMessageW(t.form.hwnd(), WM_COMMAND, TMain::TrayMinimizeId, 0); }},
  };
  const Step shows[] = {
      {"double click", [](MainFormTest& t) { t.form.TrayIconDblClick(); }},
      {"SC_RESTORE", [](MainFormTest& t) { t.sysCommand(SC_RESTORE); }},
      {"menu command",
       [](MainFormTest& t) { SendMessageW(t.form.hwnd(), WM_COMMAND, TMain::TrayRestoreId, 0); }},
  };
  for (const Step& show : shows) {
    for (const Step& hide : hides) {
      SCOPED_TRACE(std::string(show.name) + " then " + hide.name);
      show.act(*this);
      expectVisible();
      EXPECT_TRUE(ui::Application::instance().showMainForm());
      hide.act(*this);
      expectHiddenInTray();
      EXPECT_TRUE(IsWindow(form.hwnd()));
    }
  }
}

TEST_F(MainFormTest, DoubleClickOnTheVisibleWindowOnlyBringsItToTheFront) {
  form.TrayIconDblClick();
  expectVisible();
  form.TrayIconDblClick();
  expectVisible();
}

TEST_F(MainFormTest, PostedRequestsGoThroughTheApplicationFilter) {
  ui::Application& application = ui::Application::instance();
  // The restore request a second instance posts.
  PostMessageW(form.hwnd(), WM_SYSCOMMAND, SC_RESTORE, SC_RESTORE);
  application.processMessages();
  expectVisible();
  PostMessageW(form.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  application.processMessages();
  expectHiddenInTray();
}

TEST_F(MainFormTest, RestoreRequestIsHandledDuringALongWait) {
  ui::Application::instance().registerMessagePump();
  PostMessageW(form.hwnd(), WM_SYSCOMMAND, SC_RESTORE, SC_RESTORE);
  MyTools.WaitMilliseconds(50);
  expectVisible();
}

TEST_F(MainFormTest, PostedCloseOfAnotherWindowStillClosesThatWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KliporaTestOther";
  RegisterClassW(&wc);
  ui::WindowHandle other(CreateWindowExW(0, wc.lpszClassName, L"Anderes", WS_OVERLAPPEDWINDOW, 0, 0,
                                         50, 50, nullptr, nullptr, wc.hInstance, nullptr));
  form.TrayIconDblClick();
  PostMessageW(other.get(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ui::Application::instance().processMessages();
  EXPECT_FALSE(IsWindow(other.get()));
  other.release();
  expectVisible();
}

TEST_F(MainFormTest, BeendenEndsTheMessageLoop) {
  form.TrayIconDblClick();
  SendMessageW(form.hwnd(), WM_COMMAND, TMain::Beenden1Id, 0);
  EXPECT_FALSE(form.hwnd());
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace klipora
