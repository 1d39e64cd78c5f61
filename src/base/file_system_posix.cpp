#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "base/file_system.h"

namespace klipora::fs {
namespace {

std::string nativePath(const std::string& path) {
  std::string out = path;
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

// The Windows system error code closest to an errno value.
int windowsError(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return 5;  // ERROR_ACCESS_DENIED
    case ENOENT:
    case ENOTDIR:
      return 3;  // ERROR_PATH_NOT_FOUND
    case ENOSPC:
    case EDQUOT:
      return 112;  // ERROR_DISK_FULL
    case EEXIST:
      return 80;  // ERROR_FILE_EXISTS
    case ENAMETOOLONG:
      return 206;  // ERROR_FILENAME_EXCED_RANGE
    case EMFILE:
    case ENFILE:
      return 4;  // ERROR_TOO_MANY_OPEN_FILES
    case EBUSY:
      return 32;  // ERROR_SHARING_VIOLATION
    case EINVAL:
      return 123;  // ERROR_INVALID_NAME
    default:
      return 31;  // ERROR_GEN_FAILURE
  }
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now so that a failing close can be reported.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(nativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool isReadOnly(const std::string& path) {
  struct stat st {};
  return ::stat(nativePath(path).c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

bool setArchiveOnly(const std::string& path) {
  const std::string p = nativePath(path);
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return false;
  return ::chmod(p.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

int probeCreate(const std::string& path) {
  const std::string p = nativePath(path);
  Fd fd(::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (fd.get() < 0) return windowsError(errno);
  fd.close();
  ::unlink(p.c_str());
  return 0;
}

std::optional<std::string> readFile(const std::string& path) {
  Fd fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<size_t>(n));
  }
  return content;
}

bool replaceFile(const std::string& path, std::string_view content) {
  const std::string target = nativePath(path);
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    // A rename would silently replace a file its owner made read-only.
    if (S_ISDIR(st.st_mode) || (st.st_mode & S_IWUSR) == 0) return false;
    mode = st.st_mode & 07777;
  }
  const std::string temp = target + ".~tmp";
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
  if (fd.get() < 0) return false;
  const bool written = writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
  if (!fd.close() || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool createDirectories(const std::string& path) {
  const std::string p = nativePath(path);
  for (size_t pos = 1; pos <= p.size(); ++pos) {
    if (pos != p.size() && p[pos] != '/') continue;
    if (p[pos - 1] == '/') continue;
    const std::string prefix = p.substr(0, pos);
    if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return !p.empty() && ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<DirectoryEntry> listDirectory(const std::string& folder) {
  std::vector<DirectoryEntry> entries;
  const std::string dirPath = nativePath(folder);
  DIR* dir = ::opendir(dirPath.empty() ? "." : dirPath.c_str());
  if (!dir) return entries;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    const bool isDir = ::stat((dirPath + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    entries.push_back({name, isDir});
  }
  ::closedir(dir);
  return entries;
}

}  // namespace klipora::fs
