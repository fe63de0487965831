#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

// The calls on files whose form differs between systems, for Files.cpp and the reference
// server's store: descriptors of the C runtime, failures as error codes.
namespace penlark::system_files {

// An open descriptor for reading, or -1 with `error` set.
int OpenForReading(const std::filesystem::path& path, std::error_code& error);

// A descriptor of a new, empty file opened for writing, or -1 with `error` set; an existing file
// gives std::errc::file_exists.
int CreateNew(const std::filesystem::path& path, std::error_code& error);

// The size of the regular file open as `descriptor`; nullopt for anything else (a pipe, a device)
// and when the system cannot tell, with `error` set then.
std::optional<std::uint64_t> RegularFileSize(int descriptor, std::error_code& error);

// One read or write of up to `size` bytes, in binary: the count (0 at the end of the input), or
// -1 with errno set (EINTR: try again).
std::ptrdiff_t ReadSome(int descriptor, void* data, std::size_t size);
std::ptrdiff_t WriteSome(int descriptor, const void* data, std::size_t size);

// The permissions of an existing file, or nullopt.
std::optional<std::filesystem::perms> PermissionsOf(const std::filesystem::path& path);

// Gives an open file `permissions` where the system keeps them in permission bits.
std::error_code SetPermissions(int descriptor, std::filesystem::perms permissions);

// Flushes what was written to the disk.
std::error_code Sync(int descriptor);

// Renames `from` over `to` in one step: `to` is the old file or the new one, never neither.
std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

void Remove(const std::filesystem::path& path);

// Closes a descriptor; false when the system reports a failure (errno set).
bool Close(int descriptor);

bool IsTerminal(int descriptor);

}  // namespace penlark::system_files
