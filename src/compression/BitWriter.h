#pragma once

#include <cstdint>
#include <cstring>

namespace penlark {

// Packs bits into bytes from the least significant bit up, through a 64-bit buffer.
class BitWriter {
 public:
  // How many bits may be put between two flushes: a flush leaves up to 7 bits in the buffer,
  // and it may hold no more than 63, so that a flush never shifts it by its full width.
  static constexpr unsigned kRoom = 56;

  explicit BitWriter(std::uint8_t* out) : out_(out) {}

  // Where the next whole byte goes.
  std::uint8_t* Position() const { return out_; }
  // Goes on writing at `out`, with the bits still pending: for a stream written in pieces.
  void MoveTo(std::uint8_t* out) { out_ = out; }

  // Appends the low `count` bits of `bits` (the bits above them are zero). At most kRoom bits
  // may be put between two flushes.
  void Put(std::uint64_t bits, unsigned count) {
    buffer_ |= bits << pending_;
    pending_ += count;
  }

  // Writes out the whole bytes pending; at most 7 bits stay. Stores eight bytes at once, so the
  // destination needs room for 7 bytes past the end of the stream.
  void Flush() {
    std::memcpy(out_, &buffer_, sizeof buffer_);
    out_ += pending_ / 8;
    buffer_ >>= pending_ & ~7u;
    pending_ &= 7;
  }

  // Flushes and completes the last byte with zero bits; returns the end of the stream.
  std::uint8_t* Finish() {
    Flush();
    return pending_ > 0 ? out_ + 1 : out_;
  }

 private:
  std::uint8_t* out_;
  std::uint64_t buffer_ = 0;
  unsigned pending_ = 0;
};

}  // namespace penlark
