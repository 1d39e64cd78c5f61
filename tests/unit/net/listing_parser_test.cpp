#include "upload/net/listing_parser.h"

#include <gtest/gtest.h>

namespace klipora::net {
namespace {

std::vector<std::pair<int, std::string>> parse(std::vector<std::string> lines) {
  std::vector<std::pair<int, std::string>> out;
  for (const auto& item : parseListing(lines, "UNIX Type: L8")) {
    out.emplace_back(static_cast<int>(item.type), item.name);
  }
  return out;
}

using Items = std::vector<std::pair<int, std::string>>;

TEST(ListingParser, UnixListingWithTotalDirectoryAndFile) {
  const auto items = parseListing({"total 8", "drwxr-xr-x   2 ftp  ftp   4096 Mar  2 15:13 pub",
                                   "-rw-r--r--   1 ftp  ftp  12345 Aug 24  2001 read me.txt"},
                                  "");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].name, "pub");
  EXPECT_EQ(items[0].type, ItemType::Directory);
  EXPECT_EQ(items[1].name, "read me.txt");
  EXPECT_EQ(items[1].type, ItemType::File);
  EXPECT_EQ(items[1].size, 12345u);
  EXPECT_EQ(items[1].modified, (ListDateTime{2001, 8, 24, 0, 0, 0}));
  EXPECT_EQ(items[1].owner, "ftp");
  EXPECT_EQ(items[1].group, "ftp");
}

TEST(ListingParser, UnixLinksAndRecursiveHeadings) {
  EXPECT_EQ(parse({"lrwxrwxrwx 1 root root 7 Jan 25 00:17 lib -> usr/lib/",
                   "lrwxrwxrwx 1 root root 7 Jan 25 00:17 bin -> usr/bin"}),
            (Items{{3, "lib"}, {2, "bin"}}));
  EXPECT_EQ(parse({"./sub:", "-rw-r--r-- 1 a b 1 Jan 25 2001 x"}), (Items{{1, "sub/x"}}));
}

TEST(ListingParser, OnlyTotalLineGivesNoItems) { EXPECT_TRUE(parse({"total 0"}).empty()); }

TEST(ListingParser, UnreadableDateDropsOnlyThatLine) {
  EXPECT_EQ(parse({"-rw-r--r-- 1 a b 1 Jam 25 2001 bad", "-rw-r--r-- 1 a b 1 Jan 25 2001 good"}),
            (Items{{1, "good"}}));
}

TEST(ListingParser, WindowsNt) {
  const auto items = parseListing({"04-27-10  05:12PM       <DIR>          Program Files",
                                   "04-27-10  05:12AM              1,234 a b.txt"},
                                  "Windows_NT");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].name, "Program Files");
  EXPECT_EQ(items[0].type, ItemType::Directory);
  EXPECT_EQ(items[0].modified, (ListDateTime{2010, 4, 27, 17, 12, 0}));
  EXPECT_EQ(items[1].name, "a b.txt");
  EXPECT_EQ(items[1].size, 1234u);
}

TEST(ListingParser, FurtherLayouts) {
  EXPECT_EQ(
      parse({"+i8388621.48594,m825718503,/,\tpub", "+i8388621.44468,m839956783,r,s10376,\tRFC"}),
      (Items{{0, "pub"}, {1, "RFC"}}));
  EXPECT_EQ(parse({"Directory DISK$USER:[ANONYMOUS]", "",
                   "SUBDIR.DIR;1           1/3   5-JUN-1998 10:20:30 [GROUP,OWNER] (RWED,RWED,RE,)",
                   "A-VERY-LONG-FILE-NAME.TXT;12",
                   "                       4/6  12-MAR-2001 08:00:00 [GROUP,OWNER] (RWED,RWED,RE,)",
                   "", "Total of 2 files, 5/9 blocks."}),
            (Items{{0, "SUBDIR"}, {1, "A-VERY-LONG-FILE-NAME.TXT"}}));
  EXPECT_EQ(parse({"Volume Unit    Referred Ext Used Recfm Lrecl BlkSz Dsorg Dsname",
                   "WYNAPA 3380   2003/11/10  1   15  FB      80  3120  PO  LIBRARY.CNTL",
                   "WYNAPA 3380   2003/11/10  1   15  FB      80  3120  PS  SEQ.DATA"}),
            (Items{{0, "LIBRARY.CNTL"}, {1, "SEQ.DATA"}}));
}

TEST(ListingParser, NoLayoutGivesNoItems) {
  EXPECT_TRUE(parse({"this is not a listing"}).empty());
  EXPECT_TRUE(parse({}).empty());
}

TEST(ListingParser, RegistryOrderAndPlainNameLists) {
  std::vector<std::string> names;
  for (const auto& parser : listingParsers()) names.push_back(parser->name());
  EXPECT_EQ(names,
            (std::vector<std::string>{"NLST", "MLST", "EPLF", "Novell Netware", "MVS", "OS/2",
                                      "CONNECT:Enterprise for UNIX", "Unix", "VMS", "Windows NT"}));
  const auto items = parseListing({"a.txt", "b dir"}, "", false);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].name, "b dir");
}

TEST(ListingParser, SplitsLinesAtAnyLineEnd) {
  EXPECT_EQ(splitListingLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(splitListingLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace klipora::net
