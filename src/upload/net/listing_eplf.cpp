// Easily Parsed LIST Format: "+facts,<TAB>name" with "/" for directories.
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {
namespace {

class EplfParser final : public ListingParser {
 public:
  std::string name() const override { return "EPLF"; }

  bool accepts(const std::vector<std::string>& lines, std::string_view,
               bool detailed) const override {
    if (!detailed) return false;
    bool any = false;
    for (const auto& line : lines) {
      if (line.empty()) continue;
      if (line[0] != '+' || line.find('\t') == std::string::npos) return false;
      any = true;
    }
    return any;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    const auto tab = line.find('\t');
    if (line.empty() || line[0] != '+' || tab == std::string_view::npos || tab + 1 >= line.size()) {
      return std::nullopt;
    }
    ListItem item;
    item.name = std::string(line.substr(tab + 1));
    auto facts = line.substr(1, tab - 1);
    while (!facts.empty()) {
      const auto end = facts.find(',');
      const auto fact = facts.substr(0, end);
      facts = end == std::string_view::npos ? std::string_view{} : facts.substr(end + 1);
      if (fact == "/") item.type = ItemType::Directory;
      if (fact.size() > 1 && fact[0] == 's') item.size = parseNumber(fact.substr(1));
    }
    return item;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeEplfParser() { return std::make_unique<EplfParser>(); }

}  // namespace klipora::net::listing
