#include "compression/HuffmanEncoder.h"

#include "compression/BitWriter.h"
#include "compression/Checksum.h"
#include "compression/CodeTree.h"
#include "compression/He3Format.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace penlark {
namespace {

using Bytes = std::span<const std::uint8_t>;

ByteCounts CountBytes(Bytes data, ProgressReporter& progress) {
  // Four partial tables let neighbouring equal bytes be counted without waiting on each other.
  std::array<std::array<std::uint32_t, 256>, 4> partial{};
  const std::uint8_t* p = data.data();
  for (std::size_t start = 0; start < data.size(); start += he3::kCountStep) {
    progress.Report(static_cast<std::int64_t>(start), static_cast<std::int64_t>(data.size()), 7, 0);
    const std::uint8_t* end = p + std::min(he3::kCountStep, data.size() - start);
    for (; end - p >= 4; p += 4) {
      ++partial[0][p[0]];
      ++partial[1][p[1]];
      ++partial[2][p[2]];
      ++partial[3][p[3]];
    }
    for (; p != end; ++p) {
      ++partial[0][*p];
    }
  }
  ByteCounts counts{};
  for (std::size_t value = 0; value < counts.size(); ++value) {
    counts[value] = static_cast<std::int32_t>(partial[0][value] + partial[1][value] +
                                              partial[2][value] + partial[3][value]);
  }
  return counts;
}

std::vector<std::uint8_t> StoredBlock(Bytes data) {
  std::vector<std::uint8_t> block(he3::kStoredId.begin(), he3::kStoredId.end());
  block.resize(he3::kStoredId.size() + data.size());
  std::copy(data.begin(), data.end(), block.begin() + he3::kStoredId.size());
  return block;
}

void PutLittleEndian(std::vector<std::uint8_t>& block, std::size_t offset, std::uint32_t value,
                     std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i, value >>= 8) {
    block[offset + i] = static_cast<std::uint8_t>(value);
  }
}

// Codes [p, end). Runs of kGroup codes that fit into the bit buffer together (they nearly always
// do) share one flush; the others are flushed one by one.
void PutData(BitWriter& destination, const CodeTable& codes, const std::uint8_t* p,
             const std::uint8_t* end) {
  constexpr std::size_t kGroup = 4;
  // A local copy: the compiler cannot keep the state in registers while it might alias the
  // bytes written.
  BitWriter writer = destination;
  for (; static_cast<std::size_t>(end - p) >= kGroup; p += kGroup) {
    unsigned length = 0;
    for (std::size_t k = 0; k < kGroup; ++k) {
      length += codes[p[k]].BitCount;
    }
    if (length <= BitWriter::kRoom) {
      for (std::size_t k = 0; k < kGroup; ++k) {
        writer.Put(codes[p[k]].Bits, codes[p[k]].BitCount);
      }
      writer.Flush();
    } else {
      for (std::size_t k = 0; k < kGroup; ++k) {
        writer.Put(codes[p[k]].Bits, codes[p[k]].BitCount);
        writer.Flush();
      }
    }
  }
  for (; p != end; ++p) {
    writer.Put(codes[*p].Bits, codes[*p].BitCount);
    writer.Flush();
  }
  destination = writer;
}

// What the block holds besides the data stream.
struct CodeSummary {
  int distinct = 0;            // N
  std::uint64_t codeBits = 0;  // B
  std::uint64_t dataBits = 0;  // D
};

CodeSummary Summarize(const ByteCounts& counts, const CodeTable& codes) {
  CodeSummary summary;
  for (std::size_t value = 0; value < counts.size(); ++value) {
    if (counts[value] > 0) {
      ++summary.distinct;
      summary.codeBits += codes[value].BitCount;
      summary.dataBits += static_cast<std::uint64_t>(counts[value]) * codes[value].BitCount;
    }
  }
  return summary;
}

// Writes the header, the table and the code stream.
void WriteHead(std::vector<std::uint8_t>& block, std::uint8_t checksum, std::size_t length,
               const ByteCounts& counts, const CodeTable& codes, int distinct) {
  block[he3::kChecksumOffset] = checksum;
  PutLittleEndian(block, he3::kLengthOffset, static_cast<std::uint32_t>(length), 4);
  PutLittleEndian(block, he3::kCountOffset, static_cast<std::uint32_t>(distinct), 2);
  std::size_t pair = he3::kTableOffset;
  for (std::size_t value = 0; value < counts.size(); ++value) {
    if (counts[value] > 0) {
      block[pair++] = static_cast<std::uint8_t>(value);
      block[pair++] = codes[value].BitCount;
    }
  }
  BitWriter writer(block.data() + pair);
  for (const Code& code : codes) {
    writer.Put(code.Bits, code.BitCount);
    writer.Flush();
  }
  writer.Finish();
}

// Writes the data stream from `out`, reporting i / size * 88 + 12 every he3::kStep bytes.
void WriteData(std::uint8_t* out, Bytes data, const CodeTable& codes, ProgressReporter& progress) {
  BitWriter writer(out);
  for (std::size_t start = 0; start < data.size(); start += he3::kStep) {
    // The value is due after coding byte `start`; raising it just before is the same to the
    // listener, as nothing else happens between.
    progress.Report(static_cast<std::int64_t>(start), static_cast<std::int64_t>(data.size()), 88,
                    12);
    const std::size_t end = std::min(start + he3::kStep, data.size());
    PutData(writer, codes, data.data() + start, data.data() + end);
  }
  writer.Finish();
}

}  // namespace

std::vector<std::uint8_t> EncodeBlock(Bytes data, ProgressReporter& progress) {
  if (data.empty()) {
    return StoredBlock(data);
  }
  const ByteCounts counts = CountBytes(data, progress);
  const CodeTable codes = AssignCodes(BuildCodeTree(counts));
  const CodeSummary summary = Summarize(counts, codes);
  const std::uint64_t packedSize = (summary.dataBits + 7) / 8;
  if (packedSize == 0 || packedSize > data.size()) {
    return StoredBlock(data);
  }
  const std::uint8_t checksum = XorChecksum(data, progress, 5, 7);

  const std::size_t dataStart = he3::kTableOffset + 2 * static_cast<std::size_t>(summary.distinct) +
                                (summary.codeBits + 7) / 8;
  std::vector<std::uint8_t> block(he3::kCodedId.begin(), he3::kCodedId.end());
  // Room for the bit writer's eight-byte stores past the end.
  block.resize(dataStart + packedSize + 8);
  WriteHead(block, checksum, data.size(), counts, codes, summary.distinct);
  WriteData(block.data() + dataStart, data, codes, progress);
  block.resize(dataStart + packedSize);
  progress.Report(100);
  return block;
}

}  // namespace penlark
