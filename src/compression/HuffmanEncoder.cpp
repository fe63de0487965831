#include "compression/HuffmanEncoder.h"

#include "compression/BitWriter.h"
#include "compression/Checksum.h"
#include "compression/CodeTree.h"
#include "compression/He3Format.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace penlark {
namespace {

using Bytes = std::span<const std::uint8_t>;

// The data stream is coded this many bytes at a time into the sink's room (a multiple of
// he3::kStep, so that progress is computed where it would be in one piece).
constexpr std::size_t kSlice = 100 * he3::kStep;

// What one pass over the data finds: the byte counts and the words of its checksum.
struct Census {
  ByteCounts counts{};
  std::uint64_t xorWords = 0;
};

Census TakeCensus(Bytes data, ProgressReporter& progress) {
  // A partial table for each byte of a word lets neighbouring equal bytes be counted without
  // waiting on each other.
  std::array<std::array<std::uint32_t, 256>, 8> partial{};
  std::uint64_t folded = 0;
  const std::uint8_t* p = data.data();
  for (std::size_t start = 0; start < data.size(); start += he3::kCountStep) {
    progress.Report(static_cast<std::int64_t>(start), static_cast<std::int64_t>(data.size()), 7, 0);
    const std::uint8_t* end = p + std::min(he3::kCountStep, data.size() - start);
    for (; end - p >= 8; p += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, p, sizeof word);
      folded ^= word;
      for (unsigned k = 0; k < 8; ++k) {
        ++partial[k][(word >> (8 * k)) & 0xFF];
      }
    }
    for (; p != end; ++p) {
      ++partial[0][*p];
      folded ^= *p;
    }
  }
  Census census;
  for (std::size_t value = 0; value < census.counts.size(); ++value) {
    std::uint32_t count = 0;
    for (const auto& table : partial) {
      count += table[value];
    }
    census.counts[value] = static_cast<std::int32_t>(count);
  }
  census.xorWords = folded;
  return census;
}

void PutStoredBlock(Bytes data, BlockSink& sink) {
  sink.Begin(he3::kStoredId.size() + data.size());
  sink.Append(he3::kStoredId);
  sink.Append(data);
}

void PutLittleEndian(std::uint8_t* out, std::uint32_t value, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i, value >>= 8) {
    out[i] = static_cast<std::uint8_t>(value);
  }
}

// A code as one word: its bits from bit 6 up, its length in bits 0 to 5, so that coding a byte
// loads one word.
using PackedCodes = std::array<std::uint64_t, 256>;

PackedCodes Pack(const CodeTable& codes) {
  PackedCodes packed{};
  for (std::size_t value = 0; value < codes.size(); ++value) {
    packed[value] = codes[value].Bits << 6 | codes[value].BitCount;
  }
  return packed;
}

// Looks up the packed codes of kWidth bytes at once (the first byte lowest in the index), four
// lookups per group of bytes.
template <unsigned kWidth>
struct Coder {
  static constexpr unsigned kLookups = 4;
  static constexpr unsigned kBytes = kLookups * kWidth;
  static constexpr std::uint64_t kIndexMask = (std::uint64_t{1} << (8 * kWidth)) - 1;
  const std::uint64_t* codes;
  std::uint64_t operator()(std::uint64_t word, unsigned k) const {
    return codes[(word >> (8 * kWidth * k)) & kIndexMask];
  }
};

// The codes of every pair of bytes, the first byte's code first, packed the same way: long data
// whose codes are short enough for two to fit the bit buffer is coded two bytes per lookup.
constexpr unsigned kLongestPairedCode = BitWriter::kRoom / 2;
constexpr std::size_t kPairedFrom = 256 * 1024;
using PackedPairs = std::vector<std::uint64_t>;

PackedPairs PackPairs(const PackedCodes& codes) {
  PackedPairs pairs(codes.size() * codes.size());
  for (std::size_t second = 0; second < codes.size(); ++second) {
    for (std::size_t first = 0; first < codes.size(); ++first) {
      const std::uint64_t length = codes[first] & 63;
      pairs[second << 8 | first] = ((codes[first] >> 6) | (codes[second] >> 6) << length) << 6 |
                                   (length + (codes[second] & 63));
    }
  }
  return pairs;
}

// Codes [p, end) Lookup::kBytes at a time. Their codes are gathered in a word of their own and
// put with one flush when they fit into the bit buffer (they nearly always do); else code by
// code. The last bytes are coded one by one.
template <typename Lookup>
void PutData(BitWriter& destination, Lookup coder, const PackedCodes& codes, const std::uint8_t* p,
             const std::uint8_t* end) {
  // A local copy: the compiler cannot keep the state in registers while it might alias the
  // bytes written.
  BitWriter writer = destination;
  for (; end - p >= static_cast<std::ptrdiff_t>(Lookup::kBytes); p += Lookup::kBytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, Lookup::kBytes);
    std::uint64_t group = 0;
    unsigned length = 0;
    for (unsigned k = 0; k < Lookup::kLookups; ++k) {
      const std::uint64_t code = coder(word, k);
      // A shift past the word only spoils a group that does not fit and is not used.
      group |= (code >> 6) << (length & 63);
      length += code & 63;
    }
    if (length <= BitWriter::kRoom) {
      writer.Put(group, length);
      writer.Flush();
    } else {
      for (unsigned k = 0; k < Lookup::kLookups; ++k) {
        const std::uint64_t code = coder(word, k);
        writer.Put(code >> 6, code & 63);
        writer.Flush();
      }
    }
  }
  for (; p != end; ++p) {
    writer.Put(codes[*p] >> 6, codes[*p] & 63);
    writer.Flush();
  }
  destination = writer;
}

// What the block holds besides the data stream.
struct CodeSummary {
  int distinct = 0;            // N
  std::uint64_t codeBits = 0;  // B
  std::uint64_t dataBits = 0;  // D
  unsigned longest = 0;        // the longest code's length
};

CodeSummary Summarize(const ByteCounts& counts, const CodeTable& codes) {
  CodeSummary summary;
  for (std::size_t value = 0; value < counts.size(); ++value) {
    if (counts[value] > 0) {
      ++summary.distinct;
      summary.codeBits += codes[value].BitCount;
      summary.dataBits += static_cast<std::uint64_t>(counts[value]) * codes[value].BitCount;
      summary.longest = std::max<unsigned>(summary.longest, codes[value].BitCount);
    }
  }
  return summary;
}

// Writes the header, the table and the code stream from `out`.
void WriteHead(std::uint8_t* out, std::uint8_t checksum, std::size_t length,
               const ByteCounts& counts, const CodeTable& codes, int distinct) {
  std::copy(he3::kCodedId.begin(), he3::kCodedId.end(), out);
  out[he3::kChecksumOffset] = checksum;
  PutLittleEndian(out + he3::kLengthOffset, static_cast<std::uint32_t>(length), 4);
  PutLittleEndian(out + he3::kCountOffset, static_cast<std::uint32_t>(distinct), 2);
  std::size_t pair = he3::kTableOffset;
  for (std::size_t value = 0; value < counts.size(); ++value) {
    if (counts[value] > 0) {
      out[pair++] = static_cast<std::uint8_t>(value);
      out[pair++] = codes[value].BitCount;
    }
  }
  BitWriter writer(out + pair);
  for (const Code& code : codes) {
    writer.Put(code.Bits, code.BitCount);
    writer.Flush();
  }
  writer.Finish();
}

// Puts the data stream of `packedSize` bytes into the sink slice by slice, reporting
// i / size * 88 + 12 every he3::kStep bytes.
void PutDataStream(Bytes data, const CodeTable& codes, const CodeSummary& summary,
                   std::uint64_t packedSize, ProgressReporter& progress, BlockSink& sink) {
  const PackedCodes packed = Pack(codes);
  const bool paired = data.size() >= kPairedFrom && summary.longest <= kLongestPairedCode;
  const PackedPairs pairs = paired ? PackPairs(packed) : PackedPairs();
  std::uint64_t unwritten = packedSize;
  BitWriter writer(nullptr);
  for (std::size_t slice = 0; slice < data.size(); slice += kSlice) {
    const std::size_t sliceEnd = std::min(slice + kSlice, data.size());
    // The whole bytes that the slice's codes can complete.
    const std::uint64_t most = ((sliceEnd - slice) * std::uint64_t{summary.longest} + 7) / 8;
    std::uint8_t* room = sink.Room(static_cast<std::size_t>(std::min(unwritten, most)));
    writer.MoveTo(room);
    for (std::size_t start = slice; start < sliceEnd; start += he3::kStep) {
      // The value is due after coding byte `start`; raising it just before is the same to the
      // listener, as nothing else happens between.
      progress.Report(static_cast<std::int64_t>(start), static_cast<std::int64_t>(data.size()), 88,
                      12);
      const std::size_t end = std::min(start + he3::kStep, sliceEnd);
      if (paired) {
        PutData(writer, Coder<2>{pairs.data()}, packed, data.data() + start, data.data() + end);
      } else {
        PutData(writer, Coder<1>{packed.data()}, packed, data.data() + start, data.data() + end);
      }
    }
    const auto written = static_cast<std::size_t>(writer.Position() - room);
    sink.Commit(written);
    unwritten -= written;
  }
  std::uint8_t* room = sink.Room(static_cast<std::size_t>(unwritten));
  writer.MoveTo(room);
  sink.Commit(static_cast<std::size_t>(writer.Finish() - room));
}

}  // namespace

void EncodeBlock(Bytes data, ProgressReporter& progress, BlockSink& sink) {
  if (data.empty()) {
    PutStoredBlock(data, sink);
    return;
  }
  const Census census = TakeCensus(data, progress);
  const CodeTable codes = AssignCodes(BuildCodeTree(census.counts));
  const CodeSummary summary = Summarize(census.counts, codes);
  const std::uint64_t packedSize = (summary.dataBits + 7) / 8;
  if (packedSize == 0 || packedSize > data.size()) {
    PutStoredBlock(data, sink);
    return;
  }
  // The checksum was gathered while counting; its phase is reported where it comes.
  ReportChecksumPhase(data.size(), progress, 5, 7);

  const std::size_t dataStart = he3::kTableOffset + 2 * static_cast<std::size_t>(summary.distinct) +
                                static_cast<std::size_t>((summary.codeBits + 7) / 8);
  sink.Begin(dataStart + static_cast<std::size_t>(packedSize));
  std::uint8_t* head = sink.Room(dataStart);
  WriteHead(head, FoldXor(census.xorWords), data.size(), census.counts, codes, summary.distinct);
  sink.Commit(dataStart);
  PutDataStream(data, codes, summary, packedSize, progress, sink);
  progress.Report(100);
}

}  // namespace penlark
