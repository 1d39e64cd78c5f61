#include "upload/net/otp.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace klipora::net {
namespace {

std::string hex(const std::array<std::uint8_t, 8>& key) {
  std::string out;
  char buffer[3];
  for (auto byte : key) {
    std::snprintf(buffer, sizeof buffer, "%02X", byte);
    out += buffer;
  }
  return out;
}

struct Vector {
  OtpHash hash;
  const char* passphrase;
  const char* seed;
  int sequence;
  const char* key;
  const char* words;
};

// The test vectors published with RFC 2289.
constexpr Vector kVectors[] = {
    {OtpHash::Md4, "This is a test.", "TeSt", 0, "D1854218EBBB0B51",
     "ROME MUG FRED SCAN LIVE LACE"},
    {OtpHash::Md4, "This is a test.", "TeSt", 1, "63473EF01CD0B444", "CARD SAD MINI RYE COL KIN"},
    {OtpHash::Md4, "This is a test.", "TeSt", 99, "C5E612776E6C237A",
     "NOTE OUT IBIS SINK NAVE MODE"},
    {OtpHash::Md4, "AbCdEfGhIjK", "alpha1", 0, "50076F47EB1ADE4E", "AWAY SEN ROOK SALT LICE MAP"},
    {OtpHash::Md4, "OTP's are good", "correct", 99, "3F3BF4B4145FD74B",
     "TAG SLOW NOV MIN WOOL KENO"},
    {OtpHash::Md5, "This is a test.", "TeSt", 0, "9E876134D90499DD",
     "INCH SEA ANNE LONG AHEM TOUR"},
    {OtpHash::Md5, "This is a test.", "TeSt", 1, "7965E05436F5029F", "EASE OIL FUM CURE AWRY AVIS"},
    {OtpHash::Md5, "This is a test.", "TeSt", 99, "50FE1962C4965880",
     "BAIL TUFT BITS GANG CHEF THY"},
    {OtpHash::Md5, "AbCdEfGhIjK", "alpha1", 1, "7CD34C1040ADD14B", "FACT HOOF AT FIST SITE KENT"},
    {OtpHash::Md5, "OTP's are good", "correct", 0, "F205753943DE4CF9",
     "ULAN NEW ARMY FUSE SUIT EYED"},
    {OtpHash::Sha1, "This is a test.", "TeSt", 0, "BB9E6AE1979D8FF4",
     "MILT VARY MAST OK SEES WENT"},
    {OtpHash::Sha1, "This is a test.", "TeSt", 1, "63D936639734385B", "CART OTTO HIVE ODE VAT NUT"},
    {OtpHash::Sha1, "This is a test.", "TeSt", 99, "87FEC7768B73CCF9",
     "GAFF WAIT SKID GIG SKY EYED"},
    {OtpHash::Sha1, "AbCdEfGhIjK", "alpha1", 0, "AD85F658EBE383C9", "LEST OR HEEL SCOT ROB SUIT"},
    {OtpHash::Sha1, "OTP's are good", "correct", 99, "4F296A74FE1567EC",
     "AURA ALOE HURL WING BERG WAIT"},
};

TEST(Otp, MatchesPublishedVectors) {
  for (const auto& v : kVectors) {
    const auto key = otpKey(v.hash, v.sequence, v.seed, v.passphrase);
    EXPECT_EQ(hex(key), v.key) << v.passphrase << " " << v.sequence;
    EXPECT_EQ(otpSixWords(key), v.words) << v.passphrase << " " << v.sequence;
  }
}

TEST(Otp, FindsChallengeInReplyText) {
  const auto md5 = findOtpChallenge("Response to OTP-MD5 499 Ke1234 ext required");
  ASSERT_TRUE(md5);
  EXPECT_EQ(md5->hash, OtpHash::Md5);
  EXPECT_EQ(md5->sequence, 499);
  EXPECT_EQ(md5->seed, "Ke1234");
  const auto sha = findOtpChallenge("otp-sha1 99 test");
  ASSERT_TRUE(sha);
  EXPECT_EQ(sha->hash, OtpHash::Sha1);
  EXPECT_FALSE(findOtpChallenge("Password required for otp-user"));
  EXPECT_FALSE(findOtpChallenge("otp-md5 x seed"));
  EXPECT_FALSE(findOtpChallenge("otp-md5 999999999999 seed"));  // no endless hashing
}

}  // namespace
}  // namespace klipora::net
