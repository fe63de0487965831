#pragma once

#include <span>
#include <string_view>

// The commands of penlark. Each takes the arguments after its name and returns the exit
// status: 0 on success, 1 on failure, 2 for arguments it does not understand.
namespace penlark::cli {

using Arguments = std::span<const std::string_view>;

// Not on Windows, which keeps the settings in its registry.
int RunSettings(Arguments args);
int RunList(Arguments args);
int RunRemove(Arguments args);
int RunMakeFolder(Arguments args);
int RunGet(Arguments args);
int RunPut(Arguments args);

// With the dialog on the desktop, where the build has it (PENLARK_WITH_DESKTOP).
int RunOpen(Arguments args);
int RunSaveAs(Arguments args);
int RunSave(Arguments args);
int RunClose(Arguments args);
int RunHelp(Arguments args);
int RunNew(Arguments args);
int RunWordClose(Arguments args);
int RunDemo(Arguments args);
// The Penlark of one running office, started by the commands above.
int RunResident(Arguments args);

}  // namespace penlark::cli
