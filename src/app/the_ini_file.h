#pragma once
// The settings component: reads and writes one section of one INI file and
// never raises on reads; each operation leaves its result in ErrorCode and
// the caller substitutes its default. Writes go to the file at once.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace klipora {

// Where the file lies.
enum TIniLocation {
  loWinDir,   // Windows directory + IniFileName
  loProgDir,  // program folder + IniFileName
  loUser,     // IniFileName is the full path
  loDefUser,  // DefFilePath + IniFileName
};

class TTheIniFile {
 public:
  // Shows a plain information box with the given text.
  using InfoBox = std::function<void(const std::string&)>;

  // The value a read gets for a missing key; a stored value of the same
  // text therefore counts as missing too.
  static constexpr const char* kMissing = "INIERROR";

  // windowsDir and programDir end in "\"; showInfo tells the user that the
  // read-only flag of the file cannot be removed.
  TTheIniFile(std::string windowsDir, std::string programDir, InfoBox showInfo);
  ~TTheIniFile();
  TTheIniFile(const TTheIniFile&) = delete;
  TTheIniFile& operator=(const TTheIniFile&) = delete;

  const std::string& IniFileName() const { return iniFileName_; }
  // Closes an open file first; does not reopen.
  void setIniFileName(std::string name);
  const std::string& Section() const { return section_; }
  void setSection(std::string section) { section_ = std::move(section); }
  TIniLocation IniLocation() const { return location_; }
  void setIniLocation(TIniLocation location) { location_ = location; }
  // 0 success; -1 not ready or key missing; -2 not an integer; after
  // opening: 2 the file did not exist yet (still open), 5 read-only flag
  // stayed set, other positive: the system error of the creation probe.
  int ErrorCode() const { return errorCode_; }
  const std::string& DefFilePath() const { return defFilePath_; }
  // Appends "\" unless the value is empty or already ends in one.
  void setDefFilePath(std::string path);
  bool Open() const;
  // True (re)opens the file; false closes it.
  void setOpen(bool open);
  // Full path of the open file; empty when closed.
  const std::string& FilePath() const { return openPath_; }

  std::string ReadString(const std::string& key, const std::string& defaultValue);
  int ReadInteger(const std::string& key, int defaultValue);
  bool ReadBool(const std::string& key, bool defaultValue);
  // A write the operating system refuses raises klipora::Error
  // ("In <path> kann nicht geschrieben werden").
  void WriteString(const std::string& key, const std::string& value);
  void WriteInteger(const std::string& key, int value);
  void WriteBool(const std::string& key, bool value);

 private:
  class Profile;

  bool OpenIniFile();
  std::string fullPath() const;
  bool ready() const;
  // The stored text; nothing, with ErrorCode -1, when not ready or missing.
  std::optional<std::string> readRaw(const std::string& key);

  std::string windowsDir_;
  std::string programDir_;
  InfoBox showInfo_;
  std::string iniFileName_;
  std::string section_;
  TIniLocation location_ = loWinDir;
  int errorCode_ = 0;
  std::string defFilePath_;
  std::string openPath_;
  std::unique_ptr<Profile> profile_;
};

// Decimal text with an optional sign, within the range of int; nothing for
// anything else ("", "abc", "99999999999", "0x10", " 5").
std::optional<int> parseInteger(std::string_view text);

}  // namespace klipora
