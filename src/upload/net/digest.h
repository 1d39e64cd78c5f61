#pragma once
// The message digests RFC 2289 one-time passwords are built on.
#include <array>
#include <cstdint>
#include <span>

namespace klipora::net {

std::array<std::uint8_t, 16> md4Digest(std::span<const std::uint8_t> data);
std::array<std::uint8_t, 16> md5Digest(std::span<const std::uint8_t> data);
std::array<std::uint8_t, 20> sha1Digest(std::span<const std::uint8_t> data);

}  // namespace klipora::net
