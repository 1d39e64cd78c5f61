#pragma once
// The word dictionary of RFC 2289 one-time passwords.
#include <cstddef>
#include <string_view>

namespace klipora::net {

// Word 0..2047.
std::string_view otpWord(std::size_t index);

}  // namespace klipora::net
