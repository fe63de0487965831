#pragma once

#include "compression/BlockSink.h"
#include "platform/ByteBuffer.h"

#include <cstring>
#include <utility>

namespace penlark {

// Makes the block in a buffer of its final size, allocated once. Buffer is
// std::vector<std::uint8_t> or ByteBuffer.
template <typename Buffer>
class MemorySink final : public BlockSink {
 public:
  void Begin(std::size_t size) override {
    // Reserving first lets the buffer's pages be advised before they are touched.
    if constexpr (requires(Buffer b) { b.reserve(size); }) {
      block_.reserve(size + kSpill);
      PreferHugePages(block_.data(), size + kSpill);
    }
    block_.resize(size + kSpill);
    size_ = size;
  }
  std::uint8_t* Room(std::size_t) override { return block_.data() + filled_; }
  void Commit(std::size_t size) override { filled_ += size; }
  void Append(std::span<const std::uint8_t> bytes) override {
    if (!bytes.empty()) {
      std::memcpy(block_.data() + filled_, bytes.data(), bytes.size());
    }
    filled_ += bytes.size();
  }

  // The block, once it is complete.
  Buffer Take() && {
    block_.resize(size_);
    return std::move(block_);
  }

 private:
  Buffer block_;
  std::size_t size_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace penlark
