#include "app/the_ini_file.h"

#include <charconv>

#include "app/ini_document.h"
#include "app/strings.h"
#include "base/error.h"
#include "base/file_system.h"

namespace klipora {

// Reads and writes one file through IniDocument, going to the disk on every
// call as the profile functions do, so that changes made by others are seen.
class TTheIniFile::Profile {
 public:
  explicit Profile(std::string path) : path_(std::move(path)) {}

  std::optional<std::string> read(const std::string& section, const std::string& key) const {
    return IniDocument(fs::readFile(path_).value_or(std::string())).value(section, key);
  }

  bool write(const std::string& section, const std::string& key, const std::string& value) const {
    std::optional<std::string> current = fs::readFile(path_);
    // Never replace a file whose content could not be read.
    if (!current && fs::fileExists(path_)) return false;
    IniDocument document(std::move(current).value_or(std::string()));
    document.setValue(section, key, value);
    return fs::replaceFile(path_, document.bytes());
  }

 private:
  std::string path_;
};

TTheIniFile::TTheIniFile(std::string windowsDir, std::string programDir, InfoBox showInfo)
    : windowsDir_(std::move(windowsDir)),
      programDir_(std::move(programDir)),
      showInfo_(std::move(showInfo)) {}

TTheIniFile::~TTheIniFile() = default;

void TTheIniFile::setIniFileName(std::string name) {
  setOpen(false);
  iniFileName_ = std::move(name);
}

void TTheIniFile::setDefFilePath(std::string path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
  defFilePath_ = std::move(path);
}

bool TTheIniFile::Open() const { return profile_ != nullptr; }

void TTheIniFile::setOpen(bool open) {
  profile_.reset();
  openPath_.clear();
  if (open) OpenIniFile();
}

std::string TTheIniFile::fullPath() const {
  switch (location_) {
    case loWinDir:
      return windowsDir_ + iniFileName_;
    case loProgDir:
      return programDir_ + iniFileName_;
    case loUser:
      return iniFileName_;
    case loDefUser:
      return defFilePath_ + iniFileName_;
  }
  return iniFileName_;
}

bool TTheIniFile::OpenIniFile() {
  errorCode_ = 0;
  const std::string path = fullPath();
  fs::setArchiveOnly(path);
  if (fs::fileExists(path)) {
    if (fs::isReadOnly(path)) {
      errorCode_ = 5;
      if (showInfo_) {
        showInfo_(std::string(text::CannotClearReadOnlyBefore) + path +
                  text::CannotClearReadOnlyAfter);
      }
      return false;
    }
  } else {
    errorCode_ = 2;
    // The file itself is made by the first write; here we only learn whether
    // it can be.
    if (const int error = fs::probeCreate(path); error != 0) {
      errorCode_ = error;
      return false;
    }
  }
  openPath_ = path;
  profile_ = std::make_unique<Profile>(path);
  return true;
}

bool TTheIniFile::ready() const { return profile_ && !section_.empty() && !iniFileName_.empty(); }

std::optional<std::string> TTheIniFile::readRaw(const std::string& key) {
  errorCode_ = 0;
  std::optional<std::string> text;
  if (ready()) text = profile_->read(section_, key);
  if (!text || *text == kMissing) {
    errorCode_ = -1;
    return std::nullopt;
  }
  return text;
}

std::string TTheIniFile::ReadString(const std::string& key, const std::string& defaultValue) {
  return readRaw(key).value_or(defaultValue);
}

int TTheIniFile::ReadInteger(const std::string& key, int defaultValue) {
  const std::optional<std::string> text = readRaw(key);
  if (!text) return defaultValue;
  const std::optional<int> value = parseInteger(*text);
  if (!value) {
    errorCode_ = -2;
    return defaultValue;
  }
  return *value;
}

bool TTheIniFile::ReadBool(const std::string& key, bool defaultValue) {
  const std::optional<std::string> text = readRaw(key);
  if (!text || !parseInteger(*text)) return defaultValue;
  return *text == "1";
}

void TTheIniFile::WriteString(const std::string& key, const std::string& value) {
  errorCode_ = 0;
  if (!ready()) {
    errorCode_ = -1;
    return;
  }
  if (!profile_->write(section_, key, value)) {
    throw Error(std::string(text::CannotWriteBefore) + openPath_ + text::CannotWriteAfter);
  }
}

void TTheIniFile::WriteInteger(const std::string& key, int value) {
  WriteString(key, std::to_string(value));
}

void TTheIniFile::WriteBool(const std::string& key, bool value) {
  WriteString(key, value ? "1" : "0");
}

std::optional<int> parseInteger(std::string_view text) {
  // from_chars takes a '-' but no '+', so a '+' is taken off here.
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  if (text.empty() || (plus && text.front() == '-')) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace klipora
