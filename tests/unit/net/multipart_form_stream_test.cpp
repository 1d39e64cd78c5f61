#include "upload/net/multipart_form_stream.h"

#include <gtest/gtest.h>

#include <ctime>

#include "upload/net/content_types.h"

namespace klipora::net {
namespace {

TEST(MultipartFormStream, BoundaryIsEightDashesAndTheLocalTimeToTheMillisecond) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 10;
  local.tm_hour = 15;
  local.tm_min = 30;
  local.tm_sec = 45;
  local.tm_isdst = -1;
  const auto when =
      std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::milliseconds(7);
  EXPECT_EQ(TMultipartFormStream::makeBoundary(when), "--------121026153045007");
  const TMultipartFormStream now;
  EXPECT_EQ(now.boundary().size(), 23u);
  EXPECT_EQ(now.contentType(), "multipart/form-data; boundary=" + now.boundary());
}

TEST(MultipartFormStream, BodyIsByteExactAndSizeCountsEveryByte) {
  TMultipartFormStream form("--------121026153045123");
  form.addFormField("Action", "PUT");
  form.addFile("UploadFile", "image0001.gif", "image/gif", std::string("GIF\0\r\n", 6));
  const std::string expected =
      "----------121026153045123\r\n"
      "Content-Disposition: form-data; name=\"Action\"\r\n"
      "\r\n"
      "PUT\r\n"
      "----------121026153045123\r\n"
      "Content-Disposition: form-data; name=\"UploadFile\"; filename=\"image0001.gif\"\r\n"
      "Content-Type: image/gif\r\n"
      "\r\n" +
      std::string("GIF\0\r\n", 6) +
      "\r\n"
      "----------121026153045123--\r\n";
  EXPECT_EQ(form.str(), expected);
  EXPECT_EQ(form.size(), expected.size());
}

TEST(ContentTypes, ExtensionsMapCaseInsensitivelyWithAFallback) {
  const std::pair<const char*, const char*> cases[] = {
      {"image0001.gif", "image/gif"},
      {"IMAGE0001.GIF", "image/gif"},
      {"a.jpg", "image/jpeg"},
      {"a.jpeg", "image/jpeg"},
      {"a.jpe", "image/jpeg"},
      {"a.png", "image/x-png"},
      {"a.tif", "image/x-tiff"},
      {"a.bmp", "image/bmp"},
      {"kliptest.test", "application/octet-stream"},
      {"noextension", "application/octet-stream"},
      {"dir.gif/name", "application/octet-stream"},
  };
  for (const auto& [name, type] : cases) EXPECT_EQ(contentTypeFor(name), type) << name;
}

}  // namespace
}  // namespace klipora::net
