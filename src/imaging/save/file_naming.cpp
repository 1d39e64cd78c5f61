#include "imaging/save/file_naming.h"

#include <algorithm>
#include <charconv>

#include "app/tools.h"
#include "base/file_system.h"

namespace klipora::imaging {
namespace {

constexpr std::string_view kPrefix = "image";

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return asciiLower(x) == asciiLower(y);
         });
}

}  // namespace

std::string numberedName(std::int64_t number, int digits, std::string_view extension) {
  return std::string(kPrefix) + MyTools.ZeroPad(digits, number) + std::string(extension);
}

bool numberInName(std::string_view name, std::string_view extension, std::int64_t& number) {
  if (name.size() < kPrefix.size() + extension.size()) return false;
  if (!equalsNoCase(name.substr(0, kPrefix.size()), kPrefix)) return false;
  if (!equalsNoCase(name.substr(name.size() - extension.size()), extension)) return false;
  std::string_view digits = name.substr(kPrefix.size());
  digits = digits.substr(0, digits.find('.'));
  if (digits.empty()) return false;
  // An optional sign and decimal digits, nothing else, within 32 bits.
  const char* first = digits.data();
  const char* last = digits.data() + digits.size();
  if (*first == '+') ++first;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last) return false;
  number = value;
  return true;
}

std::string NextLocalName(const std::string& folder, std::string_view extension, int digits) {
  std::int64_t highest = 0;
  for (const fs::DirectoryEntry& entry : fs::listDirectory(folder)) {
    std::int64_t number = 0;
    if (!entry.isDirectory && numberInName(entry.name, extension, number)) {
      highest = std::max(highest, number);
    }
  }
  return numberedName(highest + 1, digits, extension);
}

}  // namespace klipora::imaging
