#include "compression/FileSink.h"

#include <string_view>

namespace penlark {
namespace {

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

void FileSink::Begin(std::size_t) {
  try {
    file_.emplace(path_);
  } catch (const std::filesystem::filesystem_error&) {
    failure_ = std::current_exception();
  }
}

void FileSink::Append(std::span<const std::uint8_t> bytes) {
  if (!file_) {
    return;
  }
  try {
    file_->Write(AsChars(bytes));
  } catch (const std::filesystem::filesystem_error&) {
    failure_ = std::current_exception();
    file_.reset();
  }
}

std::uint8_t* FileSink::Room(std::size_t size) {
  if (buffer_.size() < size + kSpill) {
    buffer_.resize(size + kSpill);
  }
  return buffer_.data();
}

void FileSink::Commit(std::size_t size) {
  Append(std::span(buffer_).first(size));
}

void FileSink::Finish() {
  if (failure_) {
    std::rethrow_exception(failure_);
  }
  file_->Commit();
}

}  // namespace penlark
