#include "app/module_paths.h"

#include <windows.h>

#include "app/ui/wide_text.h"

namespace klipora {
namespace {

std::string withTrailingBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::wstring executablePathWide() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string executablePath() { return ui::toUtf8(executablePathWide()); }

std::string executableFolder() {
  const std::string path = executablePath();
  return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string executableBaseName() {
  const std::string path = executablePath();
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string windowsFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
  return withTrailingBackslash(
      ui::toUtf8(std::wstring_view(buffer, length < MAX_PATH ? length : 0)));
}

std::string shortExecutableFolder() {
  const std::wstring folder = ui::toWide(executableFolder());
  const DWORD needed = GetShortPathNameW(folder.c_str(), nullptr, 0);
  if (needed == 0) return withTrailingBackslash(executableFolder());
  std::wstring shortFolder(needed, L'\0');
  const DWORD length = GetShortPathNameW(folder.c_str(), shortFolder.data(), needed);
  shortFolder.resize(length < needed ? length : 0);
  return withTrailingBackslash(ui::toUtf8(shortFolder));
}

std::string GetAppDataFolder() {
  std::string folder = executableFolder();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER,
                    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return folder;
  }
  wchar_t value[512] = {};                      // 1024 bytes
  DWORD size = sizeof value - sizeof(wchar_t);  // room for a terminator the value may lack
  DWORD type = 0;
  if (RegQueryValueExW(key, L"AppData", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
          ERROR_SUCCESS &&
      type == REG_SZ) {
    std::wstring_view text(value, size / sizeof(wchar_t));
    text = text.substr(0, text.find(L'\0'));
    // An empty value would put the settings at the root of the drive.
    if (!text.empty()) folder = ui::toUtf8(text);
  }
  RegCloseKey(key);
  return folder;
}

std::string joinPath(const std::string& folder, const std::string& name) {
  return withTrailingBackslash(folder) + name;
}

}  // namespace klipora
