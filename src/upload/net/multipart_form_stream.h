#pragma once
// A multipart/form-data request body: text fields and file fields in the
// order they were added, between lines of one boundary.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace klipora::net {

class TMultipartFormStream {
 public:
  // The boundary comes from the local time of creation.
  TMultipartFormStream();
  explicit TMultipartFormStream(std::string boundary);

  // "--------" and the local time as mmddyyhhnnsszzz.
  static std::string makeBoundary(std::chrono::system_clock::time_point when);

  const std::string& boundary() const { return boundary_; }
  std::string contentType() const { return "multipart/form-data; boundary=" + boundary_; }

  void addFormField(std::string_view name, std::string_view value);
  void addFile(std::string_view fieldName, std::string_view fileName, std::string_view contentType,
               std::string bytes);

  // The body's exact length, closing line included.
  std::uint64_t size() const;
  // The body in pieces, to be sent in order; the closing line comes last.
  std::vector<std::string_view> pieces() const;
  std::string str() const;

 private:
  std::string boundary_;
  std::vector<std::string> pieces_;
  std::string closing_;
};

}  // namespace klipora::net
