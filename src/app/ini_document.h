#pragma once
// An INI file read and edited the way the Win32 private-profile functions
// (GetPrivateProfileStringA / WritePrivateProfileStringA) read and write it,
// so files stay interchangeable with them:
// - "[name]" starts a section (blanks inside the brackets are ignored);
//   "key=value" lines; ';' starts a comment line;
// - section and key names match without regard to case; the first matching
//   section and, inside it, the first matching key win;
// - blanks around names and values are ignored; a value enclosed in a pair of
//   matching quotes (" or ') is read without them; a read returns at most
//   2047 bytes;
// - a write changes only the line of its key, adds a missing key after the
//   last key of its section and a missing section at the end, with CR LF.
// The file holds Windows-1252 bytes, or, after a byte order mark, UTF-8 or
// UTF-16 (which the profile functions read too, and which a write keeps);
// names and values here are UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace klipora {

class IniDocument {
 public:
  // The longest value a read returns, in bytes of the file.
  static constexpr size_t kMaxValueBytes = 2047;

  IniDocument() = default;
  explicit IniDocument(std::string bytes);

  // The value, or nothing when the section or the key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;

  // Line breaks in the value become blanks (one setting is one line), and a
  // value that would not read back unchanged (blanks at its ends, or quotes
  // around it) is written inside double quotes.
  void setValue(std::string_view section, std::string_view key, std::string_view value);

  // The file content.
  std::string bytes() const;

 private:
  enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

  // Between the file's and our UTF-8 text.
  std::string toText(std::string_view fileText) const;
  std::string fromText(std::string_view utf8) const;

  Encoding encoding_ = Encoding::Ansi;
  // The lines: Windows-1252 bytes, or UTF-8 without the byte order mark.
  std::string text_;
};

}  // namespace klipora
