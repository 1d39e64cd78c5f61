#include "app/tools.h"

namespace klipora {

const TMyTools MyTools;

const std::array<unsigned char, 256>& LowerCaseTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const auto c = static_cast<unsigned char>(i);
      if (c >= 'A' && c <= 'Z') {
        t[i] = static_cast<unsigned char>(c + 32);
      } else if (c >= 128) {
        t[i] = platformLowerCase(c);
      } else {
        t[i] = c;
      }
    }
    return t;
  }();
  return table;
}

int PosNoCase(std::string_view pattern, std::string_view text) {
  if (pattern.empty() || pattern.size() > text.size()) return 0;
  const auto& lower = LowerCaseTable();
  const auto fold = [&](char c) { return lower[static_cast<unsigned char>(c)]; };
  for (size_t start = 0; start + pattern.size() <= text.size(); ++start) {
    size_t i = 0;
    while (i < pattern.size() && fold(text[start + i]) == fold(pattern[i])) ++i;
    if (i == pattern.size()) return static_cast<int>(start + 1);
  }
  return 0;
}

std::string TMyTools::RemoveBlanks(std::string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ') out += c;
  }
  return out;
}

std::string TMyTools::ZeroPad(int width, std::int64_t value) const {
  std::string digits = std::to_string(value);
  const bool negative = value < 0;
  if (negative) digits.erase(0, 1);
  const size_t sign = negative ? 1 : 0;
  if (width > 0 && digits.size() + sign < static_cast<size_t>(width)) {
    digits.insert(0, static_cast<size_t>(width) - sign - digits.size(), '0');
  }
  return negative ? "-" + digits : digits;
}

std::string TMyTools::UpperCaseGerman(std::string_view text) const {
  std::string out(text);
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || c == 0xE4 || c == 0xF6 || c == 0xFC) {
      ch = static_cast<char>(c - 32);
    }
  }
  return out;
}

}  // namespace klipora
