#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "command.h"
#include "decode.h"
#include "encode.h"
#include "ftp_commands.h"
#include "http_commands.h"

namespace klipora::kliptool {

// One line per subcommand; the handlers live in their own files.
constexpr Command kCommands[] = {
    {"help", "help", nullptr},
    {"parse-listing", kParseListingUsage, runParseListing},
    {"ftp-list", kFtpListUsage, runFtpList},
    {"ftp-put", kFtpPutUsage, runFtpPut},
    {"ftp-delete", kFtpDeleteUsage, runFtpDelete},
    {"encode", kEncodeUsage, runEncode},
    {"decode", kDecodeUsage, runDecode},
    {"http-upload", kHttpUploadUsage, runHttpUpload},
    {"http-delete", kHttpDeleteUsage, runHttpDelete},
    {"probe", kProbeUsage, runProbe},
};

namespace {

void printUsage() {
  std::fputs("usage: kliptool COMMAND ARGS...\n", stderr);
  for (const auto& command : kCommands) {
    std::fprintf(stderr, "  %.*s\n", static_cast<int>(command.usage.size()), command.usage.data());
  }
}

}  // namespace
}  // namespace klipora::kliptool

int main(int argc, char** argv) {
  using namespace klipora::kliptool;
  if (argc < 2) {
    printUsage();
    return 2;
  }
  const std::vector<std::string_view> args(argv + 2, argv + argc);
  for (const auto& command : kCommands) {
    if (command.name == argv[1] && command.run) {
      try {
        return command.run(args);
      } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
      }
    }
  }
  printUsage();
  return 2;
}
