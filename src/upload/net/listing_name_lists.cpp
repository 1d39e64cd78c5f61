// Plain name lists (NLST) and machine listings (MLSD lines).
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {
namespace {

class NameListParser final : public ListingParser {
 public:
  std::string name() const override { return "NLST"; }
  bool accepts(const std::vector<std::string>&, std::string_view, bool detailed) const override {
    return !detailed;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    ListItem item;
    item.name = std::string(line);
    return item;
  }
};

// "type=dir;size=0;modify=20200101000000; name". Only asked for explicitly,
// never guessed from LIST output.
class MachineListParser final : public ListingParser {
 public:
  std::string name() const override { return "MLST"; }
  bool accepts(const std::vector<std::string>&, std::string_view, bool) const override {
    return false;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    const auto blank = line.find(' ');
    if (blank == std::string_view::npos || blank + 1 >= line.size()) return std::nullopt;
    ListItem item;
    item.name = std::string(line.substr(blank + 1));
    auto facts = line.substr(0, blank);
    while (!facts.empty()) {
      const auto end = facts.find(';');
      const auto fact = facts.substr(0, end);
      facts = end == std::string_view::npos ? std::string_view{} : facts.substr(end + 1);
      const auto equals = fact.find('=');
      if (equals == std::string_view::npos) continue;
      const auto key = fact.substr(0, equals);
      const auto value = fact.substr(equals + 1);
      if (equalsNoCase(key, "type")) {
        const bool dir = equalsNoCase(value, "dir") || equalsNoCase(value, "cdir") ||
                         equalsNoCase(value, "pdir");
        item.type = dir ? ItemType::Directory : ItemType::File;
      } else if (equalsNoCase(key, "size")) {
        item.size = parseNumber(value);
      }
    }
    return item;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeNameListParser() { return std::make_unique<NameListParser>(); }
std::unique_ptr<ListingParser> makeMachineListParser() {
  return std::make_unique<MachineListParser>();
}

}  // namespace klipora::net::listing
