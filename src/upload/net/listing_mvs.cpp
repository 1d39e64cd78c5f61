// MVS data sets: a header "Volume Unit Referred Ext Used Recfm Lrecl BlkSz
// Dsorg Dsname", then one data set per line with its name last.
#include <string>

#include "upload/net/listing_layouts.h"
#include "upload/net/listing_text.h"

namespace klipora::net::listing {
namespace {

bool isHeader(std::string_view line) {
  return line.starts_with("Volume ") && line.find("Dsname") != std::string_view::npos;
}

class MvsParser final : public ListingParser {
 public:
  std::string name() const override { return "MVS"; }

  bool accepts(const std::vector<std::string>& lines, std::string_view,
               bool detailed) const override {
    if (!detailed) return false;
    for (const auto& line : lines) {
      if (!line.empty()) return isHeader(line);
    }
    return false;
  }

 protected:
  std::optional<ListItem> parseLine(std::string_view line) const override {
    if (isHeader(line)) return std::nullopt;
    const auto fields = splitFields(line);
    if (fields.empty()) return std::nullopt;
    ListItem item;
    item.name = std::string(fields.back().text);
    // Partitioned data sets are entered like directories.
    const bool partitioned = fields.size() >= 2 && fields[fields.size() - 2].text == "PO";
    const bool pseudo = line.starts_with("Pseudo Directory");
    item.type = partitioned || pseudo ? ItemType::Directory : ItemType::File;
    return item;
  }
};

}  // namespace

std::unique_ptr<ListingParser> makeMvsParser() { return std::make_unique<MvsParser>(); }

}  // namespace klipora::net::listing
