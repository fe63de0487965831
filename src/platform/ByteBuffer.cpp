#include "platform/ByteBuffer.h"

#include <algorithm>
#include <cstring>

namespace penlark {

void ByteBuffer::resize(std::size_t size) {
  if (size > capacity_) {
    const std::size_t capacity = std::max(size, 2 * capacity_);
    // new[] without an initialiser leaves the bytes as they are.
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[capacity]);
    PreferHugePages(bytes.get(), capacity);
    if (size_ > 0) {
      std::memcpy(bytes.get(), bytes_.get(), size_);
    }
    bytes_ = std::move(bytes);
    capacity_ = capacity;
  }
  size_ = size;
}

}  // namespace penlark
