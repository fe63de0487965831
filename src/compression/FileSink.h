#pragma once

#include "compression/BlockSink.h"
#include "platform/Files.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <vector>

namespace penlark {

// Streams the block into a file that replaces `path` on Finish, through one buffer reused for
// every piece; a failure before Finish leaves `path` as it was.
//
// A replacement that cannot be created or written does not stop the codec at once: its error is
// raised by Finish, so that an error in the data (found later) is the one reported, as when the
// block is made in memory first and written after.
class FileSink final : public BlockSink {
 public:
  explicit FileSink(std::filesystem::path path) : path_(std::move(path)) {}

  void Begin(std::size_t size) override;
  std::uint8_t* Room(std::size_t size) override;
  void Commit(std::size_t size) override;
  void Append(std::span<const std::uint8_t> bytes) override;

  // Makes the block the file's whole content.
  void Finish();

 private:
  std::filesystem::path path_;
  std::optional<FileReplacement> file_;
  std::exception_ptr failure_;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace penlark
