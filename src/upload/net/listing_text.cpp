#include "upload/net/listing_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <ctime>

namespace klipora::net::listing {

std::vector<Field> splitFields(std::string_view line) {
  std::vector<Field> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos >= line.size()) break;
    const std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ') ++pos;
    fields.push_back({line.substr(start, pos - start), start});
  }
  return fields;
}

bool isDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

static char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equalsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<std::uint64_t> parseNumber(std::string_view text, bool allowCommas) {
  if (text.empty() || text.front() == ',' || text.back() == ',') return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c == ',' && allowCommas) continue;
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

int monthFromName(std::string_view text) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
  if (text.size() != 3) return 0;
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (equalsNoCase(text, kMonths[i])) return static_cast<int>(i) + 1;
  }
  return 0;
}

bool isValidDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int days = kDays[static_cast<std::size_t>(month - 1)] + (month == 2 && leap ? 1 : 0);
  return day <= days;
}

std::optional<ClockTime> parseClockTime(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto hours = text.substr(0, colon);
  auto rest = text.substr(colon + 1);
  std::string_view seconds;
  if (const auto second = rest.find(':'); second != std::string_view::npos) {
    seconds = rest.substr(second + 1);
    rest = rest.substr(0, second);
  }
  if (hours.empty() || hours.size() > 2 || !isDigits(hours) || rest.size() != 2 ||
      !isDigits(rest)) {
    return std::nullopt;
  }
  ClockTime time;
  time.hour = static_cast<int>(*parseNumber(hours));
  time.minute = static_cast<int>(*parseNumber(rest));
  if (!seconds.empty() || text.back() == ':') {
    if (seconds.size() != 2 || !isDigits(seconds)) return std::nullopt;
    time.second = static_cast<int>(*parseNumber(seconds));
    time.hasSeconds = true;
  }
  if (time.hour > 23 || time.minute > 59 || time.second > 59) return std::nullopt;
  return time;
}

std::string_view restAfterOneBlank(std::string_view line, std::size_t offset) {
  if (offset >= line.size()) return {};
  if (line[offset] == ' ') ++offset;
  return line.substr(offset);
}

ListDateTime currentDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
#ifdef _WIN32
  gmtime_s(&parts, &now);
#else
  gmtime_r(&now, &parts);
#endif
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace klipora::net::listing

namespace klipora::net::listing {
namespace {

// A date printed without a year lies in the last twelve months; one day of
// slack absorbs servers in time zones ahead of ours.
int inferYear(int month, int day, const ListDateTime& now) {
  const int printed = month * 100 + day;
  const int today = now.month * 100 + now.day + 1;
  return printed > today ? now.year - 1 : now.year;
}

// The field after a day: a time (then possibly a year after a time with
// seconds, as "ls --full-time" prints it) or a four-digit year.
std::optional<DateMatch> finishDate(const std::vector<Field>& fields, std::size_t timeField,
                                    int year, int month, int day, const ListDateTime& now) {
  if (timeField >= fields.size()) return std::nullopt;
  const auto text = fields[timeField].text;
  DateMatch match;
  match.lastField = timeField;
  if (const auto time = parseClockTime(text)) {
    if (year == 0) {
      if (time->hasSeconds && timeField + 2 < fields.size() &&
          fields[timeField + 1].text.size() == 4 && isDigits(fields[timeField + 1].text)) {
        year = static_cast<int>(*parseNumber(fields[timeField + 1].text));
        match.lastField = timeField + 1;
      } else {
        year = inferYear(month, day, now);
      }
    }
    match.when = {year, month, day, time->hour, time->minute, time->second};
  } else if (year == 0 && text.size() == 4 && isDigits(text)) {
    year = static_cast<int>(*parseNumber(text));
    match.when = {year, month, day, 0, 0, 0};
  } else {
    return std::nullopt;
  }
  if (!isValidDate(match.when.year, month, day)) return std::nullopt;
  return match;
}

}  // namespace

std::optional<DateMatch> matchMonthNameDate(const std::vector<Field>& fields, std::size_t first,
                                            const ListDateTime& now) {
  if (first + 2 >= fields.size()) return std::nullopt;
  const int month = monthFromName(fields[first].text);
  const auto dayText = fields[first + 1].text;
  if (month == 0 || dayText.size() > 2 || !isDigits(dayText)) return std::nullopt;
  const int day = static_cast<int>(*parseNumber(dayText));
  return finishDate(fields, first + 2, 0, month, day, now);
}

std::optional<DateMatch> matchNumericDate(const std::vector<Field>& fields, std::size_t first,
                                          const ListDateTime& now) {
  if (first + 1 >= fields.size()) return std::nullopt;
  const auto text = fields[first].text;
  const auto separator = text.find_first_of("-/");
  if (separator == std::string_view::npos) return std::nullopt;
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == text[separator]) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  for (auto part : parts) {
    if (part.empty() || part.size() > 4 || !isDigits(part)) return std::nullopt;
  }
  auto number = [&](std::size_t i) { return static_cast<int>(*parseNumber(parts[i])); };
  int year = 0;
  int month = 0;
  int day = 0;
  if (parts.size() == 3 && parts[0].size() > 3) {
    year = number(0);
    month = number(1);
    day = number(2);
  } else {
    month = number(0);
    day = number(1);
    if (month > 12) std::swap(month, day);
    if (parts.size() == 3) {
      year = number(2);
      if (parts[2].size() <= 2) year += year < 70 ? 2000 : 1900;
    }
  }
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  if (year != 0) {
    // A full date may stand alone or be followed by a time.
    if (const auto time = parseClockTime(fields[first + 1].text)) {
      if (!isValidDate(year, month, day)) return std::nullopt;
      return DateMatch{{year, month, day, time->hour, time->minute, time->second}, first + 1};
    }
    return std::nullopt;
  }
  return finishDate(fields, first + 1, 0, month, day, now);
}

std::optional<SizeDateName> findSizeDateName(const std::vector<Field>& fields,
                                             std::string_view line, std::size_t first) {
  const auto now = currentDateTime();
  for (std::size_t i = std::max<std::size_t>(first + 1, 1); i < fields.size(); ++i) {
    const auto date = matchMonthNameDate(fields, i, now);
    if (!date) continue;
    const auto size = parseNumber(fields[i - 1].text);
    if (!size) continue;
    const auto& last = fields[date->lastField];
    const auto name = restAfterOneBlank(line, last.offset + last.text.size());
    if (name.empty()) return std::nullopt;
    return SizeDateName{i - 1, *size, date->when, name};
  }
  return std::nullopt;
}

}  // namespace klipora::net::listing
