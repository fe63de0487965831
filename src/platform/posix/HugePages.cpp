#include "platform/ByteBuffer.h"

#include <cstdint>
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

}  // namespace penlark
