#include "app/tools.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "base/message_pump.h"

namespace klipora {
namespace {

TEST(Tools, PosNoCase) {
  struct Case {
    const char* pattern;
    const char* text;
    int position;
  };
  for (const Case& c : std::vector<Case>{
           {"ftp", "Mein FTP-Server", 6},
           {"", "Mein FTP-Server", 0},
           {"\xC4", "b\xE4r", 2},  // Ä in bär, in Windows-1252
           {"server", "Mein FTP-Server", 10},
           {"aab", "aaab", 2},  // a failed start position moves on by one
           {"x", "", 0},
           {"abc", "ab", 0},
           {"\xDF", "STRASSE", 0},  // ß has no capital to match
       }) {
    EXPECT_EQ(PosNoCase(c.pattern, c.text), c.position) << c.pattern << " in " << c.text;
  }
}

TEST(Tools, LowerCaseTable) {
  const auto& t = LowerCaseTable();
  EXPECT_EQ(t['A'], 'a');
  EXPECT_EQ(t['['], '[');
  EXPECT_EQ(t[0xC4], 0xE4);  // Ä
  EXPECT_EQ(t[0x8A], 0x9A);  // Š
  EXPECT_EQ(t[0x9F], 0xFF);  // Ÿ
  EXPECT_EQ(t[0xD7], 0xD7);  // ×
  EXPECT_EQ(t[0xDF], 0xDF);  // ß
}

TEST(Tools, StringRoutines) {
  EXPECT_EQ(MyTools.ZeroPad(4, 7), "0007");
  EXPECT_EQ(MyTools.ZeroPad(2, 12345), "12345");
  EXPECT_EQ(MyTools.ZeroPad(0, 0), "0");
  EXPECT_EQ(MyTools.ZeroPad(12, 9876543210LL), "009876543210");
  EXPECT_EQ(MyTools.ZeroPad(4, -7), "-007");
  EXPECT_EQ(MyTools.RemoveBlanks("  a b \t "), "ab\t");
  EXPECT_EQ(MyTools.UpperCaseGerman("stra\xDF"
                                    "e \xE4\xF6\xFC"),
            "STRA\xDF"
            "E \xC4\xD6\xDC");
  EXPECT_EQ(MyTools.UpperCaseGerman("\xE9\xFF{}"), "\xE9\xFF{}");
}

class CountingPump : public MessagePump {
 public:
  void processPendingMessages() override { ++calls; }
  int calls = 0;
};

TEST(Tools, WaitMillisecondsKeepsThePumpGoing) {
  CountingPump pump;
  setActiveMessagePump(&pump);
  const auto start = std::chrono::steady_clock::now();
  MyTools.WaitMilliseconds(50);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(50));
  EXPECT_GE(pump.calls, 2);

  pump.calls = 0;
  MyTools.WaitMilliseconds(-1000);
  EXPECT_EQ(pump.calls, 1);
  setActiveMessagePump(nullptr);
}

}  // namespace
}  // namespace klipora
