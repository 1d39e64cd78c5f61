#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "app/module_paths.h"
#include "app/ui/wide_text.h"

namespace klipora {
namespace {

constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Sets or removes the per-user "AppData" value for one test and puts the
// original back afterwards.
class AppDataValue {
 public:
  AppDataValue() {
    RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    wchar_t value[1024];
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExW(key_, L"AppData", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
        ERROR_SUCCESS) {
      original_ = std::wstring(value, size / sizeof(wchar_t));
      originalType_ = type;
    }
  }
  ~AppDataValue() {
    if (original_) {
      RegSetValueExW(key_, L"AppData", 0, originalType_,
                     reinterpret_cast<const BYTE*>(original_->data()),
                     static_cast<DWORD>(original_->size() * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key_, L"AppData");
    }
    RegCloseKey(key_);
  }
  void set(const std::wstring& text, DWORD type = REG_SZ) {
    RegSetValueExW(key_, L"AppData", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  void remove() { RegDeleteValueW(key_, L"AppData"); }

 private:
  HKEY key_ = nullptr;
  std::optional<std::wstring> original_;
  DWORD originalType_ = REG_SZ;
};

TEST(AppDataFolderTest, ComesFromTheRegistryWithTheProgramFolderAsFallback) {
  AppDataValue value;
  value.set(L"C:\\Benutzer\\Jörg\\Anwendungsdaten");
  EXPECT_EQ(GetAppDataFolder(), "C:\\Benutzer\\Jörg\\Anwendungsdaten");

  value.remove();
  EXPECT_EQ(GetAppDataFolder(), executableFolder());
  // An empty value would place the settings at the root of the drive.
  value.set(L"");
  EXPECT_EQ(GetAppDataFolder(), executableFolder());
  value.set(L"C:\\Erweitert", REG_EXPAND_SZ);
  EXPECT_EQ(GetAppDataFolder(), executableFolder());
}

TEST(AppDataFolderTest, ProgramFolderAndNameAndPathJoin) {
  const std::string folder = executableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(executablePath(), folder + executableBaseName() + ".exe");
  EXPECT_EQ(windowsFolder().back(), '\\');
  EXPECT_EQ(shortExecutableFolder().back(), '\\');
  EXPECT_EQ(joinPath("C:\\a", "Klipora"), "C:\\a\\Klipora");
  EXPECT_EQ(joinPath("C:\\a\\", "Klipora"), "C:\\a\\Klipora");
}

}  // namespace
}  // namespace klipora
