#include "upload/net/ftp_reply.h"

#include <gtest/gtest.h>

namespace klipora::net {
namespace {

FtpReply readAll(const std::vector<std::string>& lines, std::size_t* used = nullptr) {
  FtpReplyReader reader;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto reply = reader.addLine(lines[i])) {
      if (used) *used = i + 1;
      return *reply;
    }
  }
  ADD_FAILURE() << "reply did not end";
  return {};
}

TEST(FtpReplyReader, AssemblesRepliesAsServersSendThem) {
  struct Case {
    std::vector<std::string> lines;
    int code;
    std::vector<std::string> text;
  };
  const Case cases[] = {
      {{"220 Service ready"}, 220, {"Service ready"}},
      {{"230-Welcome", "230-second", "230 done"}, 230, {"Welcome", "second", "done"}},
      {{"211-Features:", "   MDTM", " PASV", "211 End"}, 211, {"Features:", "MDTM", "PASV", "End"}},
      {{"  ", "", "  200  ok  "}, 200, {" ok"}},
      {{"257-first", "   a line   ", "257"}, 257, {"first", "a line", ""}},
      {{"500"}, 500, {""}},
      // Another code with a blank ends the reply too.
      {{"220-x", "221 y"}, 220, {"x", "221 y"}},
  };
  for (const auto& c : cases) {
    const auto reply = readAll(c.lines);
    EXPECT_EQ(reply.code, c.code) << c.lines.front();
    EXPECT_EQ(reply.text, c.text) << c.lines.front();
  }
}

TEST(FtpReplyReader, StartsAfreshAfterEachReply) {
  FtpReplyReader reader;
  EXPECT_FALSE(reader.addLine("120-wait"));
  EXPECT_EQ(reader.addLine("120 soon")->code, 120);
  EXPECT_EQ(reader.addLine("220 ready")->text, std::vector<std::string>{"ready"});
}

TEST(FtpReplyReader, ErrorTextEndsEachLineWithCrLf) {
  const FtpReplyError error(readAll({"550-No such file", "550 really"}));
  EXPECT_STREQ(error.what(), "No such file\r\nreally\r\n");
  EXPECT_EQ(error.code(), 550);
}

TEST(FtpReplyReader, EndlessReplyIsCutOff) {
  FtpReplyReader reader;
  EXPECT_THROW(
      {
        for (int i = 0; i < 20000; ++i) reader.addLine("garbage without end");
      },
      Error);
}

}  // namespace
}  // namespace klipora::net
