#pragma once

#include <filesystem>

// Where a user keeps files of their own, for Settings.cpp.
namespace penlark::user_folders {

// The folder below which programs keep each user's data.
std::filesystem::path DataHome();

// Creates the folders of `path` that do not exist, each private to the user. A folder that cannot
// be made is left to fail where it is written to.
void MakePrivateFolders(const std::filesystem::path& path);

// Whether the user may create files in `folder`.
bool CanWriteTo(const std::filesystem::path& folder);

}  // namespace penlark::user_folders
