#include "upload/net/ftp_reply.h"

namespace klipora::net {
namespace {

// A server cannot grow one reply without end.
constexpr std::size_t kMaxReplyLines = 10000;
constexpr std::size_t kMaxReplyBytes = 4 * 1024 * 1024;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool endsReply(std::string_view line) {
  if (line.size() <= 3) {
    for (char c : line) {
      if (!isDigit(c)) return false;
    }
    return true;
  }
  return isDigit(line[0]) && isDigit(line[1]) && isDigit(line[2]) && line[3] == ' ';
}

}  // namespace

std::optional<FtpReply> FtpReplyReader::addLine(std::string_view raw) {
  const auto line = trimBlanks(raw);
  if (line.empty()) return std::nullopt;
  if (!started_) {
    started_ = true;
    codeText_ = std::string(line.substr(0, 3));
    if (!codeText_.empty() && codeText_.back() == '-') codeText_.pop_back();
    int code = 0;
    for (char c : codeText_) {
      if (!isDigit(c)) {
        code = 0;
        break;
      }
      code = code * 10 + (c - '0');
    }
    reply_.code = code;
    reply_.text.emplace_back(line.size() > 4 ? line.substr(4) : std::string_view{});
  } else if (line.size() >= 3 && line.substr(0, 3) == codeText_) {
    reply_.text.emplace_back(line.size() > 4 ? line.substr(4) : std::string_view{});
  } else {
    reply_.text.emplace_back(line);
  }
  textBytes_ += line.size();
  if (reply_.text.size() > kMaxReplyLines || textBytes_ > kMaxReplyBytes) {
    throw Error("Reply too long.");
  }
  if (!endsReply(line)) return std::nullopt;
  FtpReply done = std::move(reply_);
  *this = FtpReplyReader();
  return done;
}

std::string replyText(const FtpReply& reply) {
  std::string out;
  for (const auto& line : reply.text) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace klipora::net
