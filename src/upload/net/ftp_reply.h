#pragma once
// FTP replies: the reader that assembles one reply from control lines, and
// the error raised for a reply whose code an operation does not accept.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace klipora::net {

struct FtpReply {
  int code = 0;                   // 0 when the first line held no number
  std::vector<std::string> text;  // the lines without their codes
};

class FtpReplyReader {
 public:
  // Takes the next line; returns the reply once its last line was seen.
  std::optional<FtpReply> addLine(std::string_view line);

 private:
  FtpReply reply_;
  std::string codeText_;
  bool started_ = false;
  std::size_t textBytes_ = 0;
};

// The reply's text lines, each followed by CR LF.
std::string replyText(const FtpReply& reply);

class FtpReplyError : public Error {
 public:
  explicit FtpReplyError(const FtpReply& reply) : Error(replyText(reply)), code_(reply.code) {}
  int code() const { return code_; }

 private:
  int code_;
};

}  // namespace klipora::net
