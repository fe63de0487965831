#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace penlark {

// Where the codec puts the block it makes (an HE3 or HE0 block, or decoded data), front to back,
// as it makes it: into memory, or straight into a file.
class BlockSink {
 public:
  // Word stores may reach this many bytes past the room asked for.
  static constexpr std::size_t kSpill = 8;

  virtual ~BlockSink() = default;

  // The block will be `size` bytes long. Called once, before anything else.
  virtual void Begin(std::size_t size) = 0;
  // Where the next bytes go: room for `size` bytes and kSpill more.
  virtual std::uint8_t* Room(std::size_t size) = 0;
  // The first `size` bytes of the last Room are the next bytes of the block.
  virtual void Commit(std::size_t size) = 0;
  // The next bytes of the block, from elsewhere.
  virtual void Append(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace penlark
