#include "platform/ByteBuffer.h"

#include <algorithm>
#include <cstring>
#include <sys/mman.h>

namespace penlark {
namespace {

constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;

}  // namespace

void PreferHugePages(void* data, std::size_t size) {
  // Only whole huge pages inside the buffer: the advice applies to whole pages.
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
  if (first < last) {
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
}

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
