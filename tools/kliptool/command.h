#pragma once
// kliptool subcommands: each is a thin shell over the core. A command gets
// its own arguments (without the command name), writes its result to stdout
// and the program's own message text to stderr, and returns the exit status.
#include <span>
#include <string_view>

namespace klipora::kliptool {

using Args = std::span<const std::string_view>;

struct Command {
  std::string_view name;
  std::string_view usage;
  int (*run)(Args args);
};

}  // namespace klipora::kliptool
