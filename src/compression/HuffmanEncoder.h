#pragma once

#include "compression/ProgressReporter.h"

#include <cstdint>
#include <span>
#include <vector>

namespace penlark {

// `data` as an HE3 block, or as an HE0 block when it is empty, holds a single byte value, or
// its coded bits would take more bytes than it has. Reports the counting, checksum and coding
// phases and 100 at the end of an HE3 block.
std::vector<std::uint8_t> EncodeBlock(std::span<const std::uint8_t> data,
                                      ProgressReporter& progress);

}  // namespace penlark
