// CONNECT:Enterprise for UNIX: "-C--E-----FTP B QUA1I1  18128  41 Aug 12 13:56 name".
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {
namespace {

bool isFlagsField(std::string_view text) {
  if (text.size() != 13 || !text.ends_with("FTP")) return false;
  for (char c : text.substr(0, 10)) {
    if (c != '-' && (c < 'A' || c > 'Z')) return false;
  }
  return true;
}

class EnterpriseUnixParser final : public ListingParser {
 public:
  std::string name() const override { return "CONNECT:Enterprise for UNIX"; }

  bool accepts(const std::vector<std::string>& lines, std::string_view,
               bool detailed) const override {
    if (!detailed) return false;
    for (const auto& line : lines) {
      if (line.empty() || line.starts_with("total")) continue;
      const auto fields = splitFields(line);
      return !fields.empty() && isFlagsField(fields[0].text);
    }
    return false;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    const auto fields = splitFields(line);
    if (fields.empty() || !isFlagsField(fields[0].text)) return std::nullopt;
    const auto found = findSizeDateName(fields, line, 1);
    if (!found) return std::nullopt;
    ListItem item;
    item.permissions = std::string(fields[0].text);
    item.size = found->size;
    item.modified = found->when;
    item.name = std::string(found->name);
    return item;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeEnterpriseUnixParser() {
  return std::make_unique<EnterpriseUnixParser>();
}

}  // namespace klipora::net::listing
