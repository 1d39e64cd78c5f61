#pragma once
// A small modal form asking for one line of text.
#include <string>

namespace klipora {

// Returns true and replaces `value` only when the user confirms with OK.
// With `password` every character shows as '*'.
bool InputQueryBox(const std::string& caption, const std::string& prompt, std::string& value,
                   bool password);

}  // namespace klipora
