#pragma once

#include "compression/ProgressReporter.h"

#include <cstdint>
#include <span>

namespace penlark {

// The checksum is the XOR of all bytes. It is gathered eight bytes at a time: the XorWords of
// the pieces of some data, XORed together, give through FoldXor the XOR of all its bytes.
std::uint64_t XorWords(std::span<const std::uint8_t> bytes);
std::uint8_t FoldXor(std::uint64_t words);

// The progress of a checksum phase over `size` bytes: before each run of he3::kStep bytes from
// index i, reports i / size * scale + offset.
void ReportChecksumPhase(std::size_t size, ProgressReporter& progress, double scale, double offset);

}  // namespace penlark
