#pragma once
// The few file operations the settings store needs, behind one seam so the
// store runs natively in tests. Paths are UTF-8 with Windows backslashes; the
// POSIX side reads '\' as '/'. Error codes are Windows system error codes on
// both sides (5 access denied, 3 path not found, 112 disk full, ...).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klipora::fs {

// True for an existing file that is not a directory.
bool fileExists(const std::string& path);

// True when the file carries the read-only attribute (POSIX: the owner may
// not write it).
bool isReadOnly(const std::string& path);

// Leaves only the archive attribute, which clears read-only, hidden and
// system (POSIX: makes the file writable by its owner). False on failure.
bool setArchiveOnly(const std::string& path);

// Creates the file anew and deletes it again to learn whether it could be
// created: 0, or the system error code of the failed creation.
int probeCreate(const std::string& path);

// The whole content, or nothing when the file cannot be read.
std::optional<std::string> readFile(const std::string& path);

// Writes the content to a temporary file next to the target and renames it
// over the target, so a failure leaves the old file intact. A read-only
// target is refused. False on failure.
bool replaceFile(const std::string& path, std::string_view content);

// Creates the folder with all missing parents; true when it exists afterwards.
bool createDirectories(const std::string& path);

struct DirectoryEntry {
  std::string name;  // without the folder
  bool isDirectory = false;
};

// The entries of a folder, "." and ".." left out; empty when it cannot be read.
std::vector<DirectoryEntry> listDirectory(const std::string& folder);

}  // namespace klipora::fs
