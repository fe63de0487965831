#pragma once

// What each thread's component is made of in penlark.dll: Word over COM, and Windows' own mouse
// pointer and shell. The dialog has no window on Windows yet: showing the dialog, message and
// input boxes fail with a message that says so, which reaches the calling macro as an automation
// error. With PENLARK_DIALOG_SCRIPT set, the user is played from that script instead.
namespace penlark::com {

// Installs the factory of the components (Component::SetFactory).
void InstallComponentFactory();

}  // namespace penlark::com
