#include "compression/HuffmanDecoder.h"

#include "compression/Checksum.h"
#include "compression/DecodingTable.h"
#include "compression/DecodingTree.h"
#include "compression/He3Format.h"
#include "compression/HuffmanError.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace penlark {
namespace {

using Bytes = std::span<const std::uint8_t>;

[[noreturn]] void Corrupt() {
  throw ChecksumError();
}

bool StartsWith(Bytes block, const he3::Identification& id) {
  return block.size() >= id.size() && std::equal(id.begin(), id.end(), block.begin());
}

std::uint32_t ReadLittleEndian(Bytes block, std::size_t offset, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = bytes; i-- > 0;) {
    value = value << 8 | block[offset + i];
  }
  return value;
}

// What an HE3 block says about its data.
struct Header {
  std::uint8_t checksum = 0;
  std::size_t length = 0;     // L
  std::size_t tableEnd = 0;   // where the code stream starts
  std::size_t dataStart = 0;  // where the data stream starts
};

Header ReadHeader(Bytes block) {
  if (block.size() < he3::kTableOffset) {
    Corrupt();
  }
  const auto length = static_cast<std::int32_t>(ReadLittleEndian(block, he3::kLengthOffset, 4));
  const auto distinct = static_cast<std::int16_t>(ReadLittleEndian(block, he3::kCountOffset, 2));
  // A coded block never holds empty data: that is stored as HE0.
  if (length <= 0 || distinct < he3::kMinCount || distinct > he3::kMaxCount) {
    Corrupt();
  }
  const std::size_t tableEnd = he3::kTableOffset + 2 * static_cast<std::size_t>(distinct);
  if (block.size() < tableEnd) {
    Corrupt();
  }
  return {.checksum = block[he3::kChecksumOffset],
          .length = static_cast<std::size_t>(length),
          .tableEnd = tableEnd};
}

// Rebuilds the tree from the table and the code stream, sets where the data stream starts, and
// checks that the data stream can hold the length: every decoded byte takes at least the
// shortest code's bits, and a forged length must not size the output.
void ReadCodes(Bytes block, Header& header, DecodingTree& tree) {
  // A byte value listed twice takes its last length; the codes follow in ascending byte value.
  std::array<std::uint8_t, 256> codeLengths{};
  for (std::size_t pair = he3::kTableOffset; pair < header.tableEnd; pair += 2) {
    codeLengths[block[pair]] = block[pair + 1];
  }
  unsigned shortestCode = std::numeric_limits<unsigned>::max();
  BitReader codeBits(block, 8 * header.tableEnd);
  for (std::size_t value = 0; value < codeLengths.size(); ++value) {
    if (codeLengths[value] > 0) {
      tree.Add(static_cast<std::uint8_t>(value), codeLengths[value], codeBits);
      shortestCode = std::min<unsigned>(shortestCode, codeLengths[value]);
    }
  }
  header.dataStart = static_cast<std::size_t>((codeBits.Position() + 7) / 8);
  const std::uint64_t dataBits = 8 * (block.size() - header.dataStart);
  if (shortestCode > dataBits || header.length > dataBits / shortestCode) {
    Corrupt();
  }
}

// Table width for an output of `length` bytes: narrow tables for short data, where building
// them would cost more than they save.
unsigned TableBitsFor(std::size_t length) {
  return static_cast<unsigned>(std::clamp(static_cast<int>(std::bit_width(length)) - 2, 6, 12));
}

// The data is decoded this many bytes at a time into the sink's room, and its checksum taken
// while they are fresh in the cache.
constexpr std::size_t kChunk = 256 * 1024;

// Walks the data stream of a block, filling one piece of output after another. Bit positions
// count from the start of the block.
class DataDecoder {
 public:
  DataDecoder(Bytes block, std::size_t dataStart, const DecodingTree& tree,
              const DecodingTable& table)
      : block_(block), tree_(tree), table_(table), position_(8 * dataStart) {}

  // Goes on with `out` as the piece to fill.
  void Fill(std::span<std::uint8_t> out) {
    out_ = out;
    written_ = 0;
  }
  bool Done() const { return written_ == out_.size(); }
  std::uint64_t Position() const { return position_; }

  // Decodes until the piece is full or the walk has reached `stopBit`.
  void DecodeUntil(std::uint64_t stopBit) {
    while (!Done() && position_ < stopBit) {
      DecodeFast(stopBit);
      if (!Done() && position_ < stopBit) {
        DecodeOne();
      }
    }
  }

 private:
  // Several codes per table lookup, four lookups per load of the stream, while at least eight
  // bytes of the block and room for sixteen bytes of output remain. The state is kept in locals:
  // the compiler cannot keep members in registers while the output bytes might alias them.
  void DecodeFast(std::uint64_t stopBit) {
    if (block_.size() < 8 || out_.size() - written_ < 16) {
      return;
    }
    const std::uint8_t* in = block_.data();
    std::uint8_t* out = out_.data();
    const std::uint32_t* entries = table_.MultipleEntries();
    const std::uint64_t mask = table_.Mask();
    const std::uint64_t limit = std::min<std::uint64_t>(stopBit, 8 * (block_.size() - 7));
    const std::size_t lastWrite = out_.size() - 16;
    std::uint64_t position = position_;
    std::size_t written = written_;
    while (position < limit && written <= lastWrite) {
      std::uint64_t window = 0;
      std::memcpy(&window, in + position / 8, sizeof window);
      window >>= position % 8;
      // 57 bits are in the window: enough for four lookups of at most 14 bits.
      for (int lookup = 0; lookup < 4; ++lookup) {
        const std::uint32_t entry = entries[window & mask];
        const unsigned count = DecodingTable::Count(entry);
        if (count == 0) {
          position_ = position;
          written_ = written;
          Escape(entry);
          position = position_;
          written = written_;
          break;
        }
        const std::uint32_t values = DecodingTable::Values(entry);
        std::memcpy(out + written, &values, sizeof values);
        written += count;
        window >>= DecodingTable::Length(entry);
        position += DecodingTable::Length(entry);
      }
    }
    position_ = position;
    written_ = written;
  }

  // One code, never reading past the block: bits beyond its end read as zeros, and a code that
  // needs them is corruption.
  void DecodeOne() {
    const std::uint32_t entry = table_.Single(Peek());
    const std::uint64_t available = 8 * block_.size() - position_;
    if (DecodingTable::Count(entry) == 0) {
      if (available < table_.Bits()) {
        Corrupt();
      }
      Escape(entry);
      return;
    }
    if (DecodingTable::Length(entry) > available) {
      Corrupt();
    }
    out_[written_++] = DecodingTable::FirstValue(entry);
    position_ += DecodingTable::Length(entry);
  }

  // A code longer than the table: the walk goes on bit by bit from the node the table reached.
  void Escape(std::uint32_t entry) {
    const std::uint32_t node = DecodingTable::EscapeNode(entry);
    if (node == DecodingTable::kBrokenPath) {
      Corrupt();
    }
    position_ += table_.Bits();
    BitReader bits(block_, position_);
    auto at = static_cast<std::int16_t>(node);
    while (tree_[at].Value < 0) {
      at = bits.Next() != 0 ? tree_[at].Child1 : tree_[at].Child0;
      if (at == -1) {
        Corrupt();
      }
    }
    position_ = bits.Position();
    out_[written_++] = static_cast<std::uint8_t>(tree_[at].Value);
  }

  std::uint64_t Peek() const {
    const auto offset = static_cast<std::size_t>(position_ / 8);
    std::uint64_t window = 0;
    std::memcpy(&window, block_.data() + offset, std::min<std::size_t>(8, block_.size() - offset));
    return window >> (position_ % 8);
  }

  Bytes block_;
  const DecodingTree& tree_;
  const DecodingTable& table_;
  std::span<std::uint8_t> out_;
  std::uint64_t position_;
  std::size_t written_ = 0;
};

// Decodes the data stream into the sink piece by piece and returns the words of its checksum,
// reporting p / m * 89 for every position p (counted from 1 in the whole block, a multiple of
// he3::kStep) of a data byte whose bits were all walked before the output was complete.
std::uint64_t DecodeData(Bytes block, const Header& header, DataDecoder& decoder,
                         ProgressReporter& progress, BlockSink& sink) {
  const std::uint64_t size = block.size();
  std::uint64_t checkpoint = (header.dataStart / he3::kStep + 1) * he3::kStep;
  const auto reportUpTo = [&](std::uint64_t lastBit) {
    for (; checkpoint <= size && 8 * checkpoint <= lastBit; checkpoint += he3::kStep) {
      progress.Report(static_cast<std::int64_t>(checkpoint), static_cast<std::int64_t>(size), 89,
                      0);
    }
  };
  std::uint64_t xorWords = 0;
  for (std::size_t done = 0; done < header.length;) {
    const std::size_t piece = std::min(kChunk, header.length - done);
    const std::span<std::uint8_t> out(sink.Room(piece), piece);
    decoder.Fill(out);
    // A full piece that is not the last one is not the end: the checkpoints its walk passed
    // are reported when the next piece begins.
    while (!decoder.Done()) {
      decoder.DecodeUntil(checkpoint <= size ? 8 * checkpoint
                                             : std::numeric_limits<std::uint64_t>::max());
      if (!decoder.Done()) {
        reportUpTo(decoder.Position());
      }
    }
    xorWords ^= XorWords(out);
    sink.Commit(piece);
    done += piece;
  }
  // The byte holding the last code's final bit is not walked to its end.
  reportUpTo(decoder.Position() - 1);
  return xorWords;
}

void DecodeCoded(Bytes block, ProgressReporter& progress, BlockSink& sink) {
  Header header = ReadHeader(block);
  DecodingTree tree;
  ReadCodes(block, header, tree);
  const DecodingTable table(tree, TableBitsFor(header.length));
  sink.Begin(header.length);
  DataDecoder decoder(block, header.dataStart, tree, table);
  const std::uint64_t xorWords = DecodeData(block, header, decoder, progress, sink);
  // The checksum was taken piece by piece; its phase is reported where it comes.
  ReportChecksumPhase(header.length, progress, 11, 89);
  if (FoldXor(xorWords) != header.checksum) {
    Corrupt();
  }
  progress.Report(100);
}

}  // namespace

void DecodeBlock(Bytes block, ProgressReporter& progress, BlockSink& sink) {
  if (StartsWith(block, he3::kStoredId)) {
    const Bytes data = block.subspan(he3::kStoredId.size());
    sink.Begin(data.size());
    sink.Append(data);
    return;
  }
  if (!StartsWith(block, he3::kCodedId)) {
    throw IdentificationError();
  }
  DecodeCoded(block, progress, sink);
}

}  // namespace penlark
