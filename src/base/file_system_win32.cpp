#include <windows.h>

#include <algorithm>
#include <string>

#include "base/file_system.h"

namespace klipora::fs {
namespace {

std::wstring widePath(const std::string& path) {
  if (path.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), out.data(), size);
  for (wchar_t& c : out) {
    if (c == L'/') c = L'\\';
  }
  return out;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes now so that a failing close can be reported.
  bool close() {
    const HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != 0;
  }

 private:
  HANDLE handle_;
};

DWORD attributes(const std::string& path) { return GetFileAttributesW(widePath(path).c_str()); }

}  // namespace

bool fileExists(const std::string& path) {
  const DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool isReadOnly(const std::string& path) {
  const DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) != 0;
}

bool setArchiveOnly(const std::string& path) {
  return SetFileAttributesW(widePath(path).c_str(), FILE_ATTRIBUTE_ARCHIVE) != 0;
}

int probeCreate(const std::string& path) {
  const std::wstring p = widePath(path);
  FileHandle file(CreateFileW(p.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    return error == 0 ? 31 : static_cast<int>(error);
  }
  file.close();
  DeleteFileW(p.c_str());
  return 0;
}

std::optional<std::string> readFile(const std::string& path) {
  FileHandle file(CreateFileW(widePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    content.append(buffer, read);
  }
  return content;
}

bool replaceFile(const std::string& path, std::string_view content) {
  const std::wstring target = widePath(path);
  const DWORD a = GetFileAttributesW(target.c_str());
  if (a != INVALID_FILE_ATTRIBUTES &&
      (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }
  const std::wstring temp = target + L".~tmp";
  FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  bool written = true;
  while (written && !content.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size(), 1u << 20));
    DWORD done = 0;
    written = WriteFile(file.get(), content.data(), chunk, &done, nullptr) && done == chunk;
    content.remove_prefix(done);
  }
  written = written && FlushFileBuffers(file.get());
  if (!file.close() || !written ||
      !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

bool createDirectories(const std::string& path) {
  const std::wstring p = widePath(path);
  if (p.empty()) return false;
  // Skip the root: "C:\" or the "\\server\share\" of a network path.
  size_t start = 0;
  if (p.size() >= 2 && p[1] == L':') {
    start = 2;
  } else if (p.rfind(L"\\\\", 0) == 0) {
    const size_t server = p.find(L'\\', 2);
    const size_t share = server == std::wstring::npos ? server : p.find(L'\\', server + 1);
    start = share == std::wstring::npos ? p.size() : share;
  }
  for (size_t pos = start + 1; pos <= p.size(); ++pos) {
    if (pos != p.size() && p[pos] != L'\\') continue;
    if (p[pos - 1] == L'\\') continue;
    const std::wstring prefix = p.substr(0, pos);
    if (!CreateDirectoryW(prefix.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
  }
  const DWORD a = GetFileAttributesW(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<DirectoryEntry> listDirectory(const std::string& folder) {
  std::vector<DirectoryEntry> entries;
  std::wstring pattern = widePath(folder);
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data{};
  const HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const int size = WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), utf8.data(), size,
                        nullptr, nullptr);
    entries.push_back({utf8, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return entries;
}

}  // namespace klipora::fs
