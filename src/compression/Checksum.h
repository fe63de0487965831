#pragma once

#include "compression/ProgressReporter.h"

#include <cstdint>
#include <span>

namespace penlark {

// The XOR of all bytes. Before each run of he3::kStep bytes from index i, reports
// i / size * scale + offset.
std::uint8_t XorChecksum(std::span<const std::uint8_t> data, ProgressReporter& progress,
                         double scale, double offset);

}  // namespace penlark
