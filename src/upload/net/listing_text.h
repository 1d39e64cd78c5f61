#pragma once
// Small text helpers the listing layouts share.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "upload/net/listing_item.h"

namespace klipora::net::listing {

// A blank-separated field and where it starts in its line.
struct Field {
  std::string_view text;
  std::size_t offset = 0;
};

std::vector<Field> splitFields(std::string_view line);
bool isDigits(std::string_view text);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
bool equalsNoCase(std::string_view a, std::string_view b);
bool endsWithNoCase(std::string_view text, std::string_view suffix);
// Decimal digits, optionally with "," thousands separators; none on overflow.
std::optional<std::uint64_t> parseNumber(std::string_view text, bool allowCommas = false);
// 1..12 for an English three-letter month name (any case), else 0.
int monthFromName(std::string_view text);
bool isValidDate(int year, int month, int day);

// "H:MM", "HH:MM" or "HH:MM:SS", 24-hour.
struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool hasSeconds = false;
};
std::optional<ClockTime> parseClockTime(std::string_view text);

// The text from `offset`, after skipping exactly one blank when there is one.
std::string_view restAfterOneBlank(std::string_view line, std::size_t offset);

// Today's date, to place dates printed without a year.
ListDateTime currentDateTime();

}  // namespace klipora::net::listing

namespace klipora::net::listing {

// A date found in a line's fields; `lastField` is the field that ends it.
struct DateMatch {
  ListDateTime when;
  std::size_t lastField = 0;
};

// Month name, day, then a time ("Mar  2 15:13", year inferred from `now`)
// or a year ("Aug 24  2001"), starting at fields[first].
std::optional<DateMatch> matchMonthNameDate(const std::vector<Field>& fields, std::size_t first,
                                            const ListDateTime& now);
// "2001-04-27", "26/09/2000" or "09-26", then a time or a year.
std::optional<DateMatch> matchNumericDate(const std::vector<Field>& fields, std::size_t first,
                                          const ListDateTime& now);

// The first "size month day time-or-year name" run that starts at
// fields[first] or later; nothing when there is none or its name is empty.
struct SizeDateName {
  std::size_t sizeField = 0;
  std::uint64_t size = 0;
  ListDateTime when;
  std::string_view name;
};
std::optional<SizeDateName> findSizeDateName(const std::vector<Field>& fields,
                                             std::string_view line, std::size_t first);

}  // namespace klipora::net::listing
