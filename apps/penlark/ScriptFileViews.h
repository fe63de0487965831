#pragma once

#include "dialog/DialogView.h"

#include <filesystem>
#include <memory>

// Views that play the user's part from a file instead of showing windows: the seam through which
// tests drive the programs (the resident Penlark in a user's office) without a display. The
// environment variable PENLARK_DIALOG_SCRIPT names the file, read afresh at every showing.
//
// The file holds one block of lines per showing of the dialog, in order, separated by lines "--":
//   set server|user|password|filename TEXT   types into that field
//   click login|action|cancel                presses that button
//   mark FILE                                creates FILE (for timing the showing from outside)
// A showing whose block has run out with the dialog still up waits until the dialog is closed
// from outside (by a Close()).
namespace penlark::cli {

// The views the file names, or nullptr when PENLARK_DIALOG_SCRIPT is not set.
std::unique_ptr<DialogViewFactory> ScriptFileViewsFromEnvironment();

}  // namespace penlark::cli
