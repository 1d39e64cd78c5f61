#pragma once
// HTTP subcommands of kliptool: the upload script and the URL probe.
#include "command.h"

namespace klipora::kliptool {

inline constexpr const char* kHttpUploadUsage = "http-upload SCRIPT_URL FILE [--name NAME]";
inline constexpr const char* kHttpDeleteUsage = "http-delete SCRIPT_URL NAME";
inline constexpr const char* kProbeUsage = "probe URL  (prints 1 when it answers, else 0)";

int runHttpUpload(Args args);
int runHttpDelete(Args args);
int runProbe(Args args);

}  // namespace klipora::kliptool
