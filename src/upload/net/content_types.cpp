#include "upload/net/content_types.h"

#include <algorithm>
#include <cctype>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace klipora::net {
namespace {

constexpr std::pair<std::string_view, std::string_view> kTable[] = {
    {".bmp", "image/bmp"},
    {".gif", "image/gif"},
    {".jpg", "image/jpeg"},
    {".jpeg", "image/jpeg"},
    {".jpe", "image/jpeg"},
    {".png", "image/x-png"},
    {".tif", "image/x-tiff"},
    {".tiff", "image/x-tiff"},
    {".ico", "image/x-icon"},
    {".htm", "text/html"},
    {".html", "text/html"},
    {".txt", "text/plain"},
    {".css", "text/css"},
    {".xml", "text/xml"},
    {".js", "application/x-javascript"},
    {".pdf", "application/pdf"},
    {".zip", "application/x-zip-compressed"},
    {".wav", "audio/x-wav"},
    {".mp3", "audio/mpeg"},
};

std::string lowerCase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

#ifdef _WIN32
std::string registeredContentType(const std::string& extension) {
  const std::wstring key(extension.begin(), extension.end());  // ASCII by construction
  wchar_t value[256];
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"Content Type", RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return {};
  }
  std::string result;
  for (const wchar_t* c = value; *c; ++c) {
    // A MIME type is printable ASCII; anything else is a broken entry that
    // must not reach the request.
    if (*c < 0x20 || *c > 0x7e) return {};
    result += static_cast<char>(*c);
  }
  return result;
}
#else
std::string registeredContentType(const std::string&) { return {}; }
#endif

}  // namespace

std::string builtInContentType(std::string_view extension) {
  const std::string key = lowerCase(extension);
  for (const auto& [ext, type] : kTable) {
    if (ext == key) return std::string(type);
  }
  return {};
}

std::string contentTypeFor(std::string_view fileName) {
  const auto dot = fileName.rfind('.');
  if (dot != std::string_view::npos &&
      fileName.find_first_of("/\\", dot) == std::string_view::npos) {
    const std::string extension = lowerCase(fileName.substr(dot));
    const bool ascii = std::all_of(extension.begin(), extension.end(),
                                   [](unsigned char c) { return c > 0x20 && c < 0x7f; });
    if (ascii && extension.size() > 1) {
      std::string type = registeredContentType(extension);
      if (type.empty()) type = builtInContentType(extension);
      if (!type.empty()) return type;
    }
  }
  return "application/octet-stream";
}

}  // namespace klipora::net
