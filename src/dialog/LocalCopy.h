#pragma once

#include "platform/PlainName.h"

#include <optional>
#include <string>
#include <string_view>

// Where the work directory keeps the local copy of a server document: below it, one folder per
// step of the server folder's path, then the document's name, so that documents of the same name
// in different server folders never share a copy. The root's documents lie in the work
// directory itself: "/" and "report.rtf" give WORK/report.rtf, "/a/b" and "report.rtf" give
// WORK/a/b/report.rtf (WORK\a\b\report.rtf on Windows).
namespace penlark {

// The first step of the server folder `dir` that is not a plain name (empty steps, as in "//",
// are passed over); none when every step is plain.
std::optional<std::string> UnplainFolderStep(std::string_view dir);

// The local folder of the documents of server folder `dir`, ending with the system's separator,
// as `workDir` does; every step of `dir` must be plain.
std::string LocalCopyFolder(std::string_view workDir, std::string_view dir);

// Creates the folders of LocalCopyFolder that are missing, the work directory too. A folder that
// cannot be made is left to the write that follows.
void CreateLocalCopyFolder(std::string_view workDir, std::string_view dir);

}  // namespace penlark
