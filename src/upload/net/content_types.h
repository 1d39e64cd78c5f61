#pragma once
// MIME content types by file-name extension, for the file part of an upload.
#include <string>
#include <string_view>

namespace klipora::net {

// The type for `fileName`'s extension (case-insensitive): on Windows the one
// the registry names under HKCR\.ext first, else a built-in table, else
// "application/octet-stream".
std::string contentTypeFor(std::string_view fileName);

// The built-in table alone; empty when it has no row for `extension`
// (given with its dot, any case).
std::string builtInContentType(std::string_view extension);

}  // namespace klipora::net
