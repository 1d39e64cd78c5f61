#pragma once
// Small string and timing helpers shared across the program. The string
// routines work on Windows-1252 bytes (the ANSI code page of the settings
// file and of the names they compare), not on UTF-8.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace klipora {

// Byte-wise lower-casing: 'A'..'Z' plus 32, bytes 128..255 as the operating
// system lower-cases them in the ANSI code page, all others unchanged. Built
// once, on first use.
const std::array<unsigned char, 256>& LowerCaseTable();

// The operating system's lower case of one byte of the ANSI code page.
unsigned char platformLowerCase(unsigned char byte);

// 1-based position of the first occurrence of pattern in text, compared
// through LowerCaseTable; 0 when there is none or the pattern is empty.
int PosNoCase(std::string_view pattern, std::string_view text);

class TMyTools {
 public:
  // The text without blanks (code 32); tabs and other white space stay.
  std::string RemoveBlanks(std::string_view text) const;
  // Returns after at least the given time, handling messages meanwhile so
  // the user interface (and hotkeys) stay alive. Nothing to wait for when
  // milliseconds is not positive; pending messages are still handled.
  void WaitMilliseconds(int milliseconds) const;
  // The decimal value with '0' put in front up to width characters; a
  // longer number is kept whole. The zeros go after a minus sign.
  std::string ZeroPad(int width, std::int64_t value) const;
  // 'a'..'z' and the umlauts ä ö ü to upper case; everything else, ß
  // included, unchanged.
  std::string UpperCaseGerman(std::string_view text) const;
};

extern const TMyTools MyTools;

}  // namespace klipora
