// OpenVMS: "NAME.EXT;1  12/15  5-JUN-1998 10:20:30  [GROUP,OWNER]  (RWED,RWED,RE,)".
// A long name may stand alone with its details on the next line.
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {
namespace {

// "NAME.EXT;VERSION"
bool isVersionedName(std::string_view text) {
  const auto semicolon = text.rfind(';');
  return semicolon != std::string_view::npos && semicolon > 0 &&
         isDigits(text.substr(semicolon + 1));
}

bool isFrameLine(std::string_view line) {
  return line.starts_with("Directory ") || line.starts_with("Total of ") ||
         line.starts_with("Grand total");
}

std::optional<ListDateTime> parseVmsDate(std::string_view date, std::string_view time) {
  const auto first = date.find('-');
  const auto second = date.rfind('-');
  if (first == std::string_view::npos || first == second) return std::nullopt;
  const auto day = date.substr(0, first);
  const auto year = date.substr(second + 1);
  const int month = monthFromName(date.substr(first + 1, second - first - 1));
  const auto clock = parseClockTime(time.substr(0, time.find('.')));
  if (month == 0 || !isDigits(day) || day.size() > 2 || !isDigits(year) || year.size() != 4 ||
      !clock) {
    return std::nullopt;
  }
  const int y = static_cast<int>(*parseNumber(year));
  const int d = static_cast<int>(*parseNumber(day));
  if (!isValidDate(y, month, d)) return std::nullopt;
  return ListDateTime{y, month, d, clock->hour, clock->minute, clock->second};
}

class VmsParser final : public ListingParser {
 public:
  std::string name() const override { return "VMS"; }

  bool accepts(const std::vector<std::string>& lines, std::string_view,
               bool detailed) const override {
    if (!detailed) return false;
    for (const auto& line : lines) {
      if (line.empty() || isFrameLine(line)) continue;
      const auto fields = splitFields(line);
      return !fields.empty() && isVersionedName(fields[0].text);
    }
    return false;
  }

  std::vector<ListItem> parse(const std::vector<std::string>& lines) const override {
    std::vector<ListItem> items;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string line = lines[i];
      if (line.empty() || isFrameLine(line)) continue;
      if (splitFields(line).size() == 1 && i + 1 < lines.size() && !lines[i + 1].empty() &&
          lines[i + 1][0] == ' ') {
        line += lines[++i];
      }
      if (auto item = parseLine(line)) {
        item->rawLine = line;
        items.push_back(std::move(*item));
      }
    }
    return items;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    const auto fields = splitFields(line);
    if (fields.empty() || !isVersionedName(fields[0].text)) return std::nullopt;
    ListItem item;
    auto name = fields[0].text.substr(0, fields[0].text.rfind(';'));
    // Directories are files "NAME.DIR"; CWD wants the bare name.
    if (endsWithNoCase(name, ".DIR")) {
      item.type = ItemType::Directory;
      name.remove_suffix(4);
    }
    if (name.empty()) return std::nullopt;
    item.name = std::string(name);
    if (fields.size() >= 4) {
      const auto used = fields[1].text.substr(0, fields[1].text.find('/'));
      if (const auto blocks = parseNumber(used)) {
        item.blocks = *blocks;
        item.size = *blocks * 512;
      }
      if (const auto when = parseVmsDate(fields[2].text, fields[3].text)) item.modified = *when;
    }
    return item;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeVmsParser() { return std::make_unique<VmsParser>(); }

}  // namespace klipora::net::listing
