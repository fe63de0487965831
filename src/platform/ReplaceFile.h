#pragma once

#include <filesystem>
#include <string_view>

namespace penlark {

// Replaces the contents of `file` with `bytes` through a temporary file in the same directory,
// renamed over it once complete and flushed to disk: a reader sees the old contents or the new,
// and a failure at any point leaves the old file as it was. The new file gets `permissions`.
// False on any failure.
bool ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes,
                         std::filesystem::perms permissions);

}  // namespace penlark
