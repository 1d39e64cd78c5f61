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
    const auto now = currentDateTime();
    for (std::size_t i = 2; i < fields.size(); ++i) {
      const auto date = matchMonthNameDate(fields, i, now);
      if (!date) continue;
      const auto size = parseNumber(fields[i - 1].text);
      if (!size) continue;
      const auto& last = fields[date->lastField];
      const auto name = restAfterOneBlank(line, last.offset + last.text.size());
      if (name.empty()) return std::nullopt;
      ListItem item;
      item.permissions = std::string(fields[0].text);
      item.size = size;
      item.modified = date->when;
      item.name = std::string(name);
      return item;
    }
    return std::nullopt;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeEnterpriseUnixParser() {
  return std::make_unique<EnterpriseUnixParser>();
}

}  // namespace klipora::net::listing
