#include "base/text_encoding.h"

#include <gtest/gtest.h>

namespace klipora {
namespace {

TEST(TextEncoding, Cp1252RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, MapsTheWindowsSpecificRangeAndReplacesTheRest) {
  EXPECT_EQ(cp1252ToUtf8("\x80 \xE4\xF6\xFC\xDF"), "€ äöüß");
  EXPECT_EQ(utf8ToCp1252("Straße €"), "Stra\xDF" "e \x80");
  // Characters outside the code page, and broken UTF-8, become '?'.
  EXPECT_EQ(utf8ToCp1252("日本"), "??");
  EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");
  EXPECT_EQ(utf8ToCp1252("\xFF"), "?");
}

}  // namespace
}  // namespace klipora
