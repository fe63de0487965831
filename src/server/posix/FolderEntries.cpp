#include "server/FolderEntries.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace penlark::server {
namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

// The folder itself, never a link put in its place.
Directory OpenFolder(const std::filesystem::path& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor < 0) {
    return nullptr;
  }
  Directory directory(::fdopendir(descriptor));
  if (!directory) {
    ::close(descriptor);
  }
  return directory;
}

// The file type bits of `name` in the folder `descriptor`, following a link when `follow`; 0
// when the system cannot tell.
mode_t TypeOf(int descriptor, const char* name, bool follow) {
  struct stat status {};
  return ::fstatat(descriptor, name, &status, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0
             ? status.st_mode & S_IFMT
             : 0;
}

// The file type bits the folder's listing gives (0 for a kind left out), when it gives them.
std::optional<mode_t> ListedType(const dirent& entry) {
  switch (entry.d_type) {
    case DT_DIR:
      return S_IFDIR;
    case DT_REG:
      return S_IFREG;
    case DT_LNK:
      return S_IFLNK;
    case DT_UNKNOWN:
      return std::nullopt;
    default:
      return 0;
  }
}

}  // namespace

bool ReadFolderEntries(const std::filesystem::path& folder, const EntryFilter& admit,
                       std::vector<StoreEntry>& entries) {
  const Directory directory = OpenFolder(folder);
  if (!directory) {
    return false;
  }
  const int descriptor = ::dirfd(directory.get());
  for (errno = 0; const dirent* entry = ::readdir(directory.get()); errno = 0) {
    const char* name = entry->d_name;
    const std::optional<mode_t> listed = ListedType(*entry);
    mode_t type = listed ? *listed : TypeOf(descriptor, name, false);
    const bool link = type == S_IFLNK;
    if (!admit(name, link)) {
      continue;
    }
    if (link) {
      type = TypeOf(descriptor, name, true);
    }
    if (type == S_IFDIR || type == S_IFREG) {
      entries.push_back({name, type == S_IFDIR, ::faccessat(descriptor, name, W_OK, 0) == 0});
    }
  }
  return errno == 0;
}

}  // namespace penlark::server
