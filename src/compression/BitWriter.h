#pragma once

#include <cstdint>
#include <cstring>

namespace penlark {

// Packs bits into bytes from the least significant bit up, through a 64-bit buffer.
class BitWriter {
 public:
  explicit BitWriter(std::uint8_t* out) : out_(out) {}

  // Appends the low `count` bits of `bits` (the bits above them are zero). The bits pending
  // since the last Flush and these together must not exceed 64.
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
