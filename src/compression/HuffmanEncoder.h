#pragma once

#include "compression/BlockSink.h"
#include "compression/ProgressReporter.h"

#include <cstdint>
#include <span>

namespace penlark {

// Puts `data` into `sink` as an HE3 block, or as an HE0 block when it is empty, holds a single
// byte value, or its coded bits would take more bytes than it has. Reports the counting,
// checksum and coding phases and 100 at the end of an HE3 block.
void EncodeBlock(std::span<const std::uint8_t> data, ProgressReporter& progress, BlockSink& sink);

}  // namespace penlark
