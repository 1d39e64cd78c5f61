// Program entry: the single-instance check first, then module set-up, the
// hidden main form and the message loop.
#include <windows.h>

#include "app/error_reporting.h"
#include "app/link_cursor.h"
#include "app/main_form.h"
#include "app/single_instance.h"
#include "app/strings.h"
#include "app/tools.h"
#include "app/ui/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  klipora::CheckSingleInstance();
  klipora::installCrashHandlers();
  klipora::LowerCaseTable();
  klipora::loadLinkCursor(instance);

  klipora::ui::Application& application = klipora::ui::Application::instance();
  application.setTitle(klipora::text::AppTitle);
  application.registerMessagePump();
  return klipora::guardedCall(
      [&] {
        klipora::TMain mainForm;
        return application.run();
      },
      1);
}
