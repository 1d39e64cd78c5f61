#include "app/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace klipora {
namespace {

using namespace std::string_literals;

struct ReadCase {
  const char* name;
  std::string file;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

TEST(IniDocument, ReadsAsTheProfileFunctionsDo) {
  const std::vector<ReadCase> cases = {
      {"plain", "[Options]\r\nKey=value\r\n", "Options", "Key", "value"},
      {"case-insensitive names", "[Options]\r\nKey=value\r\n", "oPTIONS", "kEY", "value"},
      {"missing key", "[Options]\r\nKey=value\r\n", "Options", "Other", std::nullopt},
      {"missing section", "[Options]\r\nKey=value\r\n", "Other", "Key", std::nullopt},
      {"blanks trimmed", "[O]\r\n \t K  =  v w \t\r\n", "O", "K", "v w"},
      {"blanks in brackets", " [ O ] \r\nK=v\r\n", "O", "K", "v"},
      {"double quotes", "[O]\r\nK=\"  q  \"\r\n", "O", "K", "  q  "},
      {"single quotes", "[O]\r\nK='q'\r\n", "O", "K", "q"},
      {"unmatched quotes", "[O]\r\nK=\"q'\r\n", "O", "K", "\"q'"},
      {"lone quote", "[O]\r\nK=\"\r\n", "O", "K", "\""},
      {"empty value", "[O]\r\nK=\r\n", "O", "K", ""},
      {"equals in value", "[O]\r\nK=a=b\r\n", "O", "K", "a=b"},
      {"first key wins", "[O]\r\nK=1\r\nk=2\r\n", "O", "K", "1"},
      {"first section wins", "[O]\r\nA=1\r\n[P]\r\n[o]\r\nB=2\r\n", "O", "B", std::nullopt},
      {"comment is no key", "[O]\r\n;K=1\r\n", "O", "K", std::nullopt},
      {"line without equals", "[O]\r\nK\r\n", "O", "K", std::nullopt},
      {"key before any section", "K=1\r\n[O]\r\n", "O", "K", std::nullopt},
      {"LF only", "[O]\nA=1\nK=2\n", "O", "K", "2"},
      {"lone CR", "[O]\rA=1\rK=2\r", "O", "K", "2"},
      {"no final newline", "[O]\r\nK=2", "O", "K", "2"},
      {"NUL ends the value", "[O]\r\nK=ab\0cd\r\n"s, "O", "K", "ab"},
      {"NUL line skipped", "[O]\r\n\0\0\r\nK=z\r\n"s, "O", "K", "z"},
      {"Windows-1252 value",
       "[O]\r\nK=Stra\xDF"
       "e \x80\r\n",
       "O", "K", "Straße €"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[O]\r\nK=Straße\r\n", "O", "K", "Straße"},
      {"UTF-16 with BOM", "\xFF\xFE[\0O\0]\0\n\0K\0=\0\xE4\0"s, "O", "K", "ä"},
      {"binary garbage", "\xFF\x00\x01\xFE[O\r\n=\r\n[]\r\n"s, "O", "K", std::nullopt},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(IniDocument(c.file).value(c.section, c.key), c.expected) << c.name;
  }
}

TEST(IniDocument, ReadReturnsAtMost2047Bytes) {
  const std::string longValue(3000, 'x');
  EXPECT_EQ(IniDocument("[O]\r\nK=" + longValue + "\r\n").value("O", "K"),
            longValue.substr(0, 2047));
  EXPECT_EQ(IniDocument("[O]\r\nK=\"" + longValue + "\"\r\n").value("O", "K"),
            longValue.substr(0, 2047));
  // A megabyte line before the key is just another line.
  EXPECT_EQ(IniDocument("[O]\r\n" + std::string(1 << 20, 'z') + "\r\nK=v").value("O", "K"), "v");
}

struct Write {
  const char* section;
  const char* key;
  const char* value;
};

struct WriteCase {
  const char* name;
  std::string before;
  std::vector<Write> writes;
  std::string after;
};

TEST(IniDocument, WritesChangeOnlyWhatTheyMust) {
  const std::vector<WriteCase> cases = {
      {"new file",
       "",
       {{"Options", "A", "1"}, {"Options", "B", "2"}},
       "[Options]\r\nA=1\r\nB=2\r\n"},
      {"replace keeps other lines",
       "; c\n[O]\n  a = 1  \nB=2\n",
       {{"O", "A", "9"}},
       "; c\n[O]\n  a =9\nB=2\n"},
      {"first duplicate replaced",
       "[O]\r\nA=1\r\nA=2\r\n",
       {{"O", "A", "3"}},
       "[O]\r\nA=3\r\nA=2\r\n"},
      {"missing key after last key",
       "[O]\r\nA=1\r\n; note\r\n\r\n[P]\r\nX=1\r\n",
       {{"O", "B", "2"}},
       "[O]\r\nA=1\r\nB=2\r\n; note\r\n\r\n[P]\r\nX=1\r\n"},
      {"missing key in empty section",
       "[O]\r\n[P]\r\n",
       {{"O", "B", "2"}},
       "[O]\r\nB=2\r\n[P]\r\n"},
      {"missing key, no final newline", "[O]\r\nX=1", {{"O", "B", "2"}}, "[O]\r\nX=1\r\nB=2\r\n"},
      {"missing section at the end",
       "[P]\r\nX=1",
       {{"O", "B", "2"}},
       "[P]\r\nX=1\r\n[O]\r\nB=2\r\n"},
      {"first duplicate section",
       "[O]\r\nA=1\r\n[O]\r\nB=1\r\n",
       {{"O", "B", "3"}},
       "[O]\r\nA=1\r\nB=3\r\n[O]\r\nB=1\r\n"},
      {"garbage kept byte for byte",
       "\xFF\0[x\r\n"s,
       {{"O", "A", "1"}},
       "\xFF\0[x\r\n[O]\r\nA=1\r\n"s},
      {"Windows-1252 out", "", {{"O", "A", "ä€"}}, "[O]\r\nA=\xE4\x80\r\n"},
      {"UTF-8 file stays UTF-8",
       "\xEF\xBB\xBF[O]\r\nA=1\r\n",
       {{"O", "A", "ä"}},
       "\xEF\xBB\xBF[O]\r\nA=ä\r\n"},
      {"UTF-16 file stays UTF-16",
       "\xFF\xFE[\0O\0]\0"s,
       {{"O", "A", "ä"}},
       "\xFF\xFE[\0O\0]\0\r\0\n\0A\0=\0\xE4\0\r\0\n\0"s},
  };
  for (const WriteCase& c : cases) {
    IniDocument document(c.before);
    for (const Write& w : c.writes) document.setValue(w.section, w.key, w.value);
    EXPECT_EQ(document.bytes(), c.after) << c.name;
  }
}

TEST(IniDocument, EveryWrittenValueReadsBack) {
  // Blanks at the ends and surrounding quotes would be lost on reading, and a
  // line break would let a value forge other keys.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"  pass word ", "  pass word "},   {"\"q\"", "\"q\""}, {"'", "'"},
      {"a\r\n[X]\r\nB=1", "a  [X]  B=1"}, {"", ""},           {"C:\\Bilder", "C:\\Bilder"}};
  for (const auto& [written, read] : cases) {
    IniDocument document;
    document.setValue("O", "K", written);
    document.setValue("O", "L", "next");
    const IniDocument reread(document.bytes());
    EXPECT_EQ(reread.value("O", "K"), read) << written;
    EXPECT_EQ(reread.value("O", "L"), "next") << written;
    EXPECT_EQ(reread.value("X", "B"), std::nullopt) << written;
  }
}

}  // namespace
}  // namespace klipora
