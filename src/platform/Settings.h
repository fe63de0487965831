#pragma once

#include <string>
#include <string_view>

// The program's one setting, the installation directory, and the files derived from it.
namespace penlark {

inline constexpr std::string_view kSettingsKey = "Software\\Brackmoor\\Penlark\\2.0";
inline constexpr std::string_view kInstallPathValue = "InstallPath";

// The text of a machine settings file that names `installPath` as the installation directory.
std::string SettingsFileNaming(std::string_view installPath);

// The installation directory from the machine settings, read afresh on every call; "" when it
// is not set. Separators it ends with are left out (on Windows "\" and "/"), so that the paths
// derived from it join with one of their own (a value of separators alone reads as "").
std::string ReadInstallPath();

// Where the user's own files of one kind ("work", "history") live: below the installation
// directory when the user may write there (a per-user installation); otherwise, and when no
// installation directory is set, in the user's data folder, $XDG_DATA_HOME/penlark/<kind>
// (~/.local/share/penlark/<kind> when that is unset), which is made private to the user (0700)
// when it does not exist; on Windows in %LOCALAPPDATA%\penlark\<kind>. No trailing separator.
// The paths here join their folders with the system's separator, kPathSeparator.
std::string UserFolder(std::string_view installPath, std::string_view kind);

// The work directory, with its trailing separator: fetched and saved documents live here.
std::string WorkDirPath(std::string_view installPath);

// The users' help page, always below the installation directory.
std::string HelpPagePath(std::string_view installPath);

// The connection history of one user.
std::string HistoryFilePath(std::string_view installPath, std::string_view userName);

}  // namespace penlark
