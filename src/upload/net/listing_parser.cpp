#include "upload/net/listing_parser.h"

#include "upload/net/listing_layouts.h"

namespace klipora::net {

std::vector<ListItem> ListingParser::parse(const std::vector<std::string>& lines) const {
  std::vector<ListItem> items;
  std::string prefix;
  for (const auto& line : lines) {
    if (line.empty()) continue;
    // "dir:" of a recursive listing names the directory of the lines below.
    if (line.back() == ':' && !listing::beginsWithPermissionText(line)) {
      prefix = line.substr(0, line.size() - 1);
      continue;
    }
    auto item = parseLine(line);
    if (!item) continue;
    if (!prefix.empty()) {
      item->name = prefix + pathSeparator() + item->name;
      if (item->name.size() > 2 && item->name[0] == '.' && item->name[1] == pathSeparator()) {
        item->name.erase(0, 2);
      }
    }
    item->rawLine = line;
    items.push_back(std::move(*item));
  }
  return items;
}

const std::vector<std::unique_ptr<ListingParser>>& listingParsers() {
  // The order decides between layouts that could both read a listing.
  static const auto parsers = [] {
    std::vector<std::unique_ptr<ListingParser>> list;
    list.push_back(listing::makeNameListParser());
    list.push_back(listing::makeMachineListParser());
    list.push_back(listing::makeEplfParser());
    list.push_back(listing::makeNetwareParser());
    list.push_back(listing::makeMvsParser());
    list.push_back(listing::makeOs2Parser());
    list.push_back(listing::makeEnterpriseUnixParser());
    list.push_back(listing::makeUnixParser());
    list.push_back(listing::makeVmsParser());
    list.push_back(listing::makeWindowsNtParser());
    return list;
  }();
  return parsers;
}

std::vector<ListItem> parseListing(const std::vector<std::string>& lines,
                                   std::string_view systemDescription, bool detailed) {
  for (const auto& parser : listingParsers()) {
    if (parser->accepts(lines, systemDescription, detailed)) return parser->parse(lines);
  }
  return {};
}

std::vector<std::string> splitListingLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace klipora::net
