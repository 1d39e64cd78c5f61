// LIST data: every layout parser must read any text, whether or not its
// test would have chosen it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "upload/net/listing_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace klipora::net;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = splitListingLines(text);
  (void)parseListing(lines, "UNIX Type: L8", true);
  (void)parseListing(lines, "", false);
  for (const auto& parser : listingParsers()) {
    (void)parser->accepts(lines, "", true);
    (void)parser->parse(lines);
  }
  return 0;
}
