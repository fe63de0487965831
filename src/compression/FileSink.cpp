#include "compression/FileSink.h"

#include <string_view>

namespace penlark {

std::uint8_t* FileSink::Room(std::size_t size) {
  if (buffer_.size() < size + kSpill) {
    buffer_.resize(size + kSpill);
  }
  return buffer_.data();
}

void FileSink::Commit(std::size_t size) {
  Append(std::span(buffer_).first(size));
}

void FileSink::Append(std::span<const std::uint8_t> bytes) {
  file_.Write({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace penlark
