#pragma once
// Strip decompressors of the TIFF reader. Each fills `out` from the start
// and stops when it is full or the input ends; the rest of `out` is left as
// it was. They return the number of bytes produced.
#include <cstddef>
#include <cstdint>
#include <span>

namespace klipora::imaging::tiff {

// TIFF's LZW: MSB-first codes of 9 to 12 bits, the width growing one code
// early, 256 clears the table, 257 ends the data. A code above the next free
// one raises "TIF LZW: invalid opcode.".
std::size_t decodeLzw(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

// PackBits run-length data (compression 32773).
std::size_t decodePackBits(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

}  // namespace klipora::imaging::tiff
