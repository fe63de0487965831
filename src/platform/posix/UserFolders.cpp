#include "platform/UserFolders.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penlark::user_folders {
namespace {

namespace fs = std::filesystem;

fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return home;
  }
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

}  // namespace

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
fs::path DataHome() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    return data;
  }
  return HomeFolder() / ".local" / "share";
}

void MakePrivateFolders(const fs::path& path) {
  fs::path partial;
  for (const fs::path& part : path) {
    partial /= part;
    mkdir(partial.c_str(), S_IRWXU);
  }
}

bool CanWriteTo(const fs::path& folder) {
  return access(folder.c_str(), W_OK) == 0;
}

}  // namespace penlark::user_folders
