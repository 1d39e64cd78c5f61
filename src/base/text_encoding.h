#pragma once
// Inside Klipora all text is UTF-8. The settings file keeps the Windows-1252
// code page of the profile functions, so its bytes are converted at the
// file boundary.
#include <string>
#include <string_view>

namespace klipora {

// Appends one code point in UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

std::string cp1252ToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold become '?', as the ANSI profile
// functions would store them.
std::string utf8ToCp1252(std::string_view text);

}  // namespace klipora
