#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace penlark {

// The whole content of a file, read in binary. Throws std::filesystem::filesystem_error when
// the file cannot be opened or read.
std::vector<std::uint8_t> ReadByteFile(const std::filesystem::path& path);

// Makes `bytes` the whole content of the file at `path`, atomically: they are written to a new
// file beside it, which then replaces it by a rename. Whatever happens, `path` holds either its
// old content or all of the new. Throws std::filesystem::filesystem_error on failure.
void ReplaceByteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace penlark
