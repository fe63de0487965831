#include "platform/UserFolders.h"

#include <cstdlib>
#include <io.h>
#include <system_error>

namespace penlark::user_folders {
namespace {

namespace fs = std::filesystem;

fs::path EnvironmentPath(const wchar_t* name) {
  const wchar_t* value = ::_wgetenv(name);
  return value != nullptr ? fs::path(value) : fs::path();
}

}  // namespace

// The user's local application data (%LOCALAPPDATA%), which does not roam with their profile.
fs::path DataHome() {
  if (fs::path local = EnvironmentPath(L"LOCALAPPDATA"); !local.empty()) {
    return local;
  }
  return EnvironmentPath(L"USERPROFILE") / "AppData" / "Local";
}

// Folders below the user's profile inherit its access list, which admits only the user (and the
// system and administrators).
void MakePrivateFolders(const fs::path& path) {
  std::error_code ignored;
  fs::create_directories(path, ignored);
}

bool CanWriteTo(const fs::path& folder) {
  constexpr int kWriteAccess = 2;
  return ::_waccess(folder.c_str(), kWriteAccess) == 0;
}

}  // namespace penlark::user_folders
