#pragma once

#include "compression/BlockSink.h"
#include "compression/ProgressReporter.h"

#include <cstdint>
#include <span>

namespace penlark {

// Puts the uncompressed data of an HE3 or HE0 block into `sink`; bytes after the ones the block
// needs are ignored. Raises IdentificationError when the block starts with neither "HE3" CR nor
// "HE0" CR, and ChecksumError when an HE3 block is corrupt in any way: its header, table or codes
// are impossible, its bits lead nowhere or run out, or the decoded bytes fail the checksum. Reports
// the data and checksum phases and 100 at the end of an HE3 block. After an error the sink may hold
// part of the data: it is the sink's part to discard it.
void DecodeBlock(std::span<const std::uint8_t> block, ProgressReporter& progress, BlockSink& sink);

}  // namespace penlark
