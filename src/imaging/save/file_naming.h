#pragma once
// The running numbers of saved captures: image0001.gif, image0002.gif, ...
#include <cstdint>
#include <string>
#include <string_view>

namespace klipora::imaging {

// "image" + number padded with zeros to at least `digits` + extension.
std::string numberedName(std::int64_t number, int digits, std::string_view extension);

// The number a listed name carries when it counts for `extension`: the name
// starts with "image" and ends with the extension (both without regard to
// case), and the text after "image" up to the first "." is an integer.
// Nothing for every other name.
bool numberInName(std::string_view name, std::string_view extension, std::int64_t& number);

// The next free name in `folder` (ending in a backslash) for `extension`:
// one above the highest number of that extension, so gaps are never
// refilled and every format counts on its own.
std::string NextLocalName(const std::string& folder, std::string_view extension, int digits);

}  // namespace klipora::imaging
