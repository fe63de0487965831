#pragma once

#include "dialog/DialogView.h"
#include "platform/Prompts.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>

// The user played from a file instead of windows and message boxes: the seam through which tests
// drive the hosts (the resident Penlark in a user's office, penlark.dll in Word) without a
// display. The environment variable PENLARK_DIALOG_SCRIPT names the file, read afresh at every
// showing of the dialog.
//
// The file holds one block of lines per showing of the dialog, in order, separated by lines "--":
//   set server|user|password|filename TEXT   types into that field
//   click login|action|cancel                presses that button
//   answer yes|no                            answers the next Yes/No question with that
//   mark FILE                                creates FILE (for timing the showing from outside)
// Every message becomes a line on a stream; a question that no `answer` was given for is
// answered No, an input box is cancelled. A showing whose block has run out with the dialog still
// up waits in the host's event loop until the dialog is closed from outside (by a Close()); a
// host without an event loop fails that showing instead.
namespace penlark {

// Runs the host's events until Stop() is called.
class ScriptWait {
 public:
  virtual ~ScriptWait() = default;
  virtual void Wait() = 0;
  virtual void Stop() = 0;
};
using ScriptWaitFactory = std::function<std::unique_ptr<ScriptWait>()>;

struct ScriptedUser {
  std::unique_ptr<Prompts> prompts;
  std::unique_ptr<DialogViewFactory> views;
};

// The failure of a showing left open by its block when the host cannot wait.
inline constexpr const char* kScriptEndedOpen = "dialog script: it ended with the dialog open";

// The user that PENLARK_DIALOG_SCRIPT names, or nothing when the variable is not set. Messages go
// to `messages`; `waits` makes each view's wait, none for a host without an event loop.
std::optional<ScriptedUser> ScriptedUserFromEnvironment(std::ostream& messages,
                                                        ScriptWaitFactory waits = {});

}  // namespace penlark
