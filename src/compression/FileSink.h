#pragma once

#include "compression/BlockSink.h"
#include "platform/Files.h"

#include <filesystem>
#include <vector>

namespace penlark {

// Streams the block into a file that replaces `path` on Finish, through one buffer reused for
// every piece; a failure before Finish leaves `path` as it was. A new file that cannot be
// created or written is reported by Finish, so that an error in the data, found later, is the
// one raised.
class FileSink final : public BlockSink {
 public:
  explicit FileSink(const std::filesystem::path& path) : file_(path) {}

  void Begin(std::size_t) override {}
  std::uint8_t* Room(std::size_t size) override;
  void Commit(std::size_t size) override;
  void Append(std::span<const std::uint8_t> bytes) override;

  // Makes the block the file's whole content.
  void Finish() { file_.Commit(); }

 private:
  DeferredFileReplacement file_;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace penlark
