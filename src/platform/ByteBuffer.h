#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace penlark {

// Asks the system to back [data, data + size) with huge pages where it offers them, so that
// touching a big buffer for the first time costs few page faults. Only a hint: nothing changes
// where the system says no.
void PreferHugePages(void* data, std::size_t size);

// A byte buffer whose growth leaves the new bytes uninitialised: for data that is about to be
// read or written over anyway, such as a whole file, where clearing the memory first would
// cost a pass over it. Big buffers prefer huge pages.
class ByteBuffer {
 public:
  std::uint8_t* data() { return bytes_.get(); }
  const std::uint8_t* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  // The first min(size(), size) bytes stay; any bytes beyond them are uninitialised.
  void resize(std::size_t size);

  std::span<const std::uint8_t> Bytes() const { return {data(), size_}; }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace penlark
