#include "server/FolderEntries.h"

#include "platform/Files.h"

#include <io.h>

namespace penlark::server {

bool ReadFolderEntries(const std::filesystem::path& folder, const EntryFilter& admit,
                       std::vector<StoreEntry>& entries) {
  constexpr int kWriteAccess = 2;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::filesystem::directory_entry& entry = *it;
    std::string name = Utf8Text(entry.path().filename());
    std::error_code statusError;
    if (!admit(name, entry.is_symlink(statusError))) {
      continue;
    }
    const bool isFolder = entry.is_directory(statusError);
    if (isFolder || entry.is_regular_file(statusError)) {
      const bool writable = ::_waccess(entry.path().c_str(), kWriteAccess) == 0;
      entries.push_back({std::move(name), isFolder, writable});
    }
  }
  return !error;
}

}  // namespace penlark::server
