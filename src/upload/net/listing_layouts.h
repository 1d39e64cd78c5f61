#pragma once
// Factories of the individual listing layouts; the registry orders them.
#include <memory>

#include "upload/net/listing_parser.h"

namespace klipora::net::listing {

std::unique_ptr<ListingParser> makeNameListParser();
std::unique_ptr<ListingParser> makeMachineListParser();
std::unique_ptr<ListingParser> makeEplfParser();
std::unique_ptr<ListingParser> makeNetwareParser();
std::unique_ptr<ListingParser> makeMvsParser();
std::unique_ptr<ListingParser> makeOs2Parser();
std::unique_ptr<ListingParser> makeEnterpriseUnixParser();
std::unique_ptr<ListingParser> makeUnixParser();
std::unique_ptr<ListingParser> makeVmsParser();
std::unique_ptr<ListingParser> makeWindowsNtParser();

// True when the line begins with a Unix permission text ("drwxr-xr-x").
bool beginsWithPermissionText(std::string_view line);

}  // namespace klipora::net::listing
