#include "upload/net/multipart_form_stream.h"

#include <cstdio>
#include <ctime>

namespace klipora::net {

TMultipartFormStream::TMultipartFormStream()
    : TMultipartFormStream(makeBoundary(std::chrono::system_clock::now())) {}

TMultipartFormStream::TMultipartFormStream(std::string boundary)
    : boundary_(std::move(boundary)), closing_("--" + boundary_ + "--\r\n") {}

std::string TMultipartFormStream::makeBoundary(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                          when - std::chrono::system_clock::from_time_t(seconds))
                          .count();
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  // Room for any int the compiler can imagine in each field, not just two digits.
  char text[96];
  std::snprintf(text, sizeof text, "--------%02d%02d%02d%02d%02d%02d%03d", local.tm_mon + 1,
                local.tm_mday, local.tm_year % 100, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(millis % 1000));
  return text;
}

void TMultipartFormStream::addFormField(std::string_view name, std::string_view value) {
  std::string part = "--" + boundary_ + "\r\nContent-Disposition: form-data; name=\"";
  part.append(name).append("\"\r\n\r\n").append(value).append("\r\n");
  pieces_.push_back(std::move(part));
}

void TMultipartFormStream::addFile(std::string_view fieldName, std::string_view fileName,
                                   std::string_view contentType, std::string bytes) {
  std::string head = "--" + boundary_ + "\r\nContent-Disposition: form-data; name=\"";
  head.append(fieldName).append("\"; filename=\"").append(fileName);
  head.append("\"\r\nContent-Type: ").append(contentType).append("\r\n\r\n");
  pieces_.push_back(std::move(head));
  pieces_.push_back(std::move(bytes));
  pieces_.emplace_back("\r\n");
}

std::uint64_t TMultipartFormStream::size() const {
  std::uint64_t total = closing_.size();
  for (const auto& piece : pieces_) total += piece.size();
  return total;
}

std::vector<std::string_view> TMultipartFormStream::pieces() const {
  std::vector<std::string_view> result(pieces_.begin(), pieces_.end());
  result.emplace_back(closing_);
  return result;
}

std::string TMultipartFormStream::str() const {
  std::string result;
  result.reserve(static_cast<std::size_t>(size()));
  for (const auto piece : pieces()) result.append(piece);
  return result;
}

}  // namespace klipora::net
