// The IIS / DOS layout: "MM-DD-YY  HH:MMAM  <DIR>  name" or "... size name".
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {
namespace {

struct NtDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// Month-day-year, or year-month-day when the year comes first; "-" or "/".
std::optional<NtDate> parseNtDate(std::string_view text) {
  if (text.size() < 8) return std::nullopt;
  const char separator = text[2] == '-' || text[2] == '/' ? text[2] : text[4];
  if (separator != '-' && separator != '/') return std::nullopt;
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (parts.size() != 3) return std::nullopt;
  for (auto part : parts) {
    if (part.empty() || part.size() > 4 || !isDigits(part)) return std::nullopt;
  }
  NtDate date;
  auto number = [&](std::size_t i) { return static_cast<int>(*parseNumber(parts[i])); };
  if (parts[0].size() == 4) {
    date = {number(0), number(1), number(2)};
  } else {
    if (parts[0].size() > 2 || parts[1].size() > 2) return std::nullopt;
    date = {number(2), number(0), number(1)};
    if (parts[2].size() <= 2) date.year += date.year < 70 ? 2000 : 1900;
  }
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 32) return std::nullopt;
  return date;
}

// "HH:MM" with an optional AM/PM glued on.
std::optional<ClockTime> parseNtTime(std::string_view text) {
  int add = 0;
  bool twelveHour = false;
  if (text.size() > 2 && (endsWithNoCase(text, "AM") || endsWithNoCase(text, "PM"))) {
    twelveHour = true;
    add = endsWithNoCase(text, "PM") ? 12 : 0;
    text.remove_suffix(2);
  }
  auto time = parseClockTime(text);
  if (!time) return std::nullopt;
  if (twelveHour) {
    if (time->hour < 1 || time->hour > 12) return std::nullopt;
    time->hour = time->hour % 12 + add;
  }
  return time;
}

bool isDirMark(std::string_view text) { return equalsNoCase(text, "<DIR>"); }

// The date, time and size-or-<DIR> columns followed by a name.
bool looksLikeNtLine(const std::vector<Field>& fields) {
  return fields.size() >= 4 && parseNtDate(fields[0].text) &&
         (isDirMark(fields[2].text) || parseNumber(fields[2].text, true));
}

class WindowsNtParser final : public ListingParser {
 public:
  std::string name() const override { return "Windows NT"; }

  bool accepts(const std::vector<std::string>& lines, std::string_view,
               bool detailed) const override {
    if (!detailed) return false;
    bool verdict = false;
    for (const auto& line : lines) {
      const auto fields = splitFields(line);
      if (fields.size() >= 5 && (fields[2].text == "F" || fields[2].text == "D") &&
          (fields[4].text == "-" || isDigits(fields[4].text))) {
        verdict = false;
        continue;
      }
      if (fields.empty() || !parseNtDate(fields[0].text)) continue;
      verdict = looksLikeNtLine(fields);
    }
    return verdict;
  }

 protected:
  char pathSeparator() const override { return '\\'; }

  std::optional<ListItem> parseLine(std::string_view line) const override {
    const auto fields = splitFields(line);
    if (fields.size() < 4 || !(isDirMark(fields[2].text) || parseNumber(fields[2].text, true))) {
      return std::nullopt;
    }
    ListItem item;
    std::string_view name;
    const auto afterSize = fields[2].offset + fields[2].text.size();
    if (isDirMark(fields[2].text)) {
      item.type = ItemType::Directory;
      // The name column starts ten characters after "<DIR>"; stop early at
      // a non-blank so a narrower column does not cut the name.
      std::size_t pos = afterSize;
      for (int i = 0; i < 10 && pos < line.size() && line[pos] == ' '; ++i) ++pos;
      name = line.substr(pos);
    } else {
      item.type = ItemType::File;
      item.size = parseNumber(fields[2].text, true);
      name = restAfterOneBlank(line, afterSize);
    }
    if (name.empty()) return std::nullopt;
    item.name = std::string(name);
    const auto date = parseNtDate(fields[0].text);
    const auto time = parseNtTime(fields[1].text);
    if (date && time && isValidDate(date->year, date->month, date->day)) {
      item.modified = {date->year, date->month, date->day, time->hour, time->minute, 0};
    }
    return item;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeWindowsNtParser() { return std::make_unique<WindowsNtParser>(); }

}  // namespace klipora::net::listing
