#pragma once
// Turns the lines of a LIST answer into items. The layouts are tried in a
// fixed order; the first whose test accepts the whole listing parses it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "upload/net/listing_item.h"

namespace klipora::net {

class ListingParser {
 public:
  virtual ~ListingParser() = default;
  virtual std::string name() const = 0;
  // Decides from the whole listing whether it is in this layout.
  virtual bool accepts(const std::vector<std::string>& lines, std::string_view system,
                       bool detailed) const = 0;
  // Parses the whole listing; the default goes line by line through
  // parseLine, handling the sub-directory headings of recursive listings.
  virtual std::vector<ListItem> parse(const std::vector<std::string>& lines) const;

 protected:
  // No item for lines that carry none (totals, unreadable lines).
  virtual std::optional<ListItem> parseLine(std::string_view line) const = 0;
  virtual char pathSeparator() const { return '/'; }
};

// All layouts, in the order they are tried.
const std::vector<std::unique_ptr<ListingParser>>& listingParsers();

// Empty when no layout accepts the lines. `detailed` is false only for
// plain name lists.
std::vector<ListItem> parseListing(const std::vector<std::string>& lines,
                                   std::string_view systemDescription, bool detailed = true);

// Splits received listing text into lines at CR LF, LF or CR.
std::vector<std::string> splitListingLines(std::string_view text);

}  // namespace klipora::net
