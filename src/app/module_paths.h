#pragma once
// Where Klipora runs from and where its settings live (UTF-8 paths).
#include <string>

namespace klipora {

// Full path of the running executable.
std::string executablePath();
// Folder of the executable with a trailing '\'.
std::string executableFolder();
// The executable's file name without folder and extension ("Klipora").
std::string executableBaseName();
// The Windows directory with a trailing '\'.
std::string windowsFolder();
// The executable's folder in short (8.3) form with a trailing '\'.
std::string shortExecutableFolder();

// The user's application-data folder from the per-user "Shell Folders" key
// (value "AppData"); the executable's folder when the key or value is missing.
std::string GetAppDataFolder();

// folder + '\' + name, without doubling a separator the folder already ends in.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace klipora
