// Novell Netware: "d [RWCEAFMS] owner  size Mon DD HH:MM name".
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {
namespace {

bool looksLikeNetware(const std::vector<Field>& fields) {
  return fields.size() >= 6 && (fields[0].text == "d" || fields[0].text == "-") &&
         fields[1].text.size() == 10 && fields[1].text.front() == '[' &&
         fields[1].text.back() == ']';
}

class NetwareParser final : public ListingParser {
 public:
  std::string name() const override { return "Novell Netware"; }

  bool accepts(const std::vector<std::string>& lines, std::string_view,
               bool detailed) const override {
    if (!detailed) return false;
    for (const auto& line : lines) {
      if (line.empty() || line.starts_with("total")) continue;
      return looksLikeNetware(splitFields(line));
    }
    return false;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    const auto fields = splitFields(line);
    if (!looksLikeNetware(fields)) return std::nullopt;
    const auto found = findSizeDateName(fields, line, 2);
    if (!found) return std::nullopt;
    ListItem item;
    item.type = fields[0].text == "d" ? ItemType::Directory : ItemType::File;
    item.permissions = std::string(fields[1].text);
    if (found->sizeField > 2) item.owner = std::string(fields[2].text);
    item.size = found->size;
    item.modified = found->when;
    item.name = std::string(found->name);
    return item;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeNetwareParser() { return std::make_unique<NetwareParser>(); }

}  // namespace klipora::net::listing
