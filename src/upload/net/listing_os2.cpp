// OS/2: "size [attributes] [DIR] MM-DD-YY HH:MM  name".
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {
namespace {

// Years with two digits, four digits, or three (years since 1900).
std::optional<ListDateTime> parseOs2Date(std::string_view date, std::string_view time) {
  if (date.size() < 8 || date[2] != '-' || date[5] != '-') return std::nullopt;
  const auto month = date.substr(0, 2);
  const auto day = date.substr(3, 2);
  const auto yearText = date.substr(6);
  if (!isDigits(month) || !isDigits(day) || !isDigits(yearText) || yearText.size() > 4) {
    return std::nullopt;
  }
  int year = static_cast<int>(*parseNumber(yearText));
  if (yearText.size() == 2) year += year < 70 ? 2000 : 1900;
  if (yearText.size() == 3) year += 1900;
  const auto clock = parseClockTime(time);
  const int m = static_cast<int>(*parseNumber(month));
  const int d = static_cast<int>(*parseNumber(day));
  if (!clock || clock->hasSeconds || !isValidDate(year, m, d)) return std::nullopt;
  return ListDateTime{year, m, d, clock->hour, clock->minute, 0};
}

std::optional<ListItem> parseOs2Line(std::string_view line) {
  const auto fields = splitFields(line);
  if (fields.size() < 4 || !isDigits(fields[0].text)) return std::nullopt;
  ListItem item;
  std::size_t i = 1;
  for (; i < fields.size() && i <= 3; ++i) {
    const auto text = fields[i].text;
    if (text == "DIR") {
      item.type = ItemType::Directory;
    } else if (text.find('-') != std::string_view::npos) {
      break;
    } else if (text.find_first_not_of("ARSHD") != std::string_view::npos) {
      return std::nullopt;
    }
  }
  if (i + 1 >= fields.size()) return std::nullopt;
  const auto when = parseOs2Date(fields[i].text, fields[i + 1].text);
  if (!when) return std::nullopt;
  std::size_t pos = fields[i + 1].offset + fields[i + 1].text.size();
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos >= line.size()) return std::nullopt;
  item.name = std::string(line.substr(pos));
  item.size = parseNumber(fields[0].text);
  item.modified = *when;
  return item;
}

class Os2Parser final : public ListingParser {
 public:
  std::string name() const override { return "OS/2"; }

  bool accepts(const std::vector<std::string>& lines, std::string_view,
               bool detailed) const override {
    if (!detailed) return false;
    for (const auto& line : lines) {
      if (!line.empty()) return parseOs2Line(line).has_value();
    }
    return false;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    return parseOs2Line(line);
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeOs2Parser() { return std::make_unique<Os2Parser>(); }

}  // namespace klipora::net::listing
