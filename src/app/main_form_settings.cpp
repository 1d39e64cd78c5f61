// Where TMain keeps its settings file, and loading it at start.
#include "app/main_form.h"
#include "app/message_box.h"
#include "app/module_paths.h"
#include "app/the_ini_file.h"
#include "app/ui/application.h"
#include "base/file_system.h"

namespace klipora {

void TMain::setUpSettingsLocation() {
  const std::string name = executableBaseName();
  settingsFolder_ = joinPath(GetAppDataFolder(), name);
  settingsFileName_ = name + ".ini";
  // Failure shows later: the settings file then cannot be opened and the defaults apply.
  fs::createDirectories(settingsFolder_);
}

void TMain::loadSettings() {
  // The store's own notice (a read-only file it cannot make writable) is the
  // plain box with the application title as caption.
  iniFile_ = std::make_unique<TTheIniFile>(
      windowsFolder(), shortExecutableFolder(), [](const std::string& message) {
        ShowMessageBox(message, ui::Application::instance().title(), -1, btOK);
      });
  iniFile_->setIniLocation(loDefUser);
  iniFile_->setDefFilePath(settingsFolder_);
  iniFile_->setIniFileName(settingsFileName_);
  settings_ = LoadSettings(*iniFile_);
}

}  // namespace klipora
