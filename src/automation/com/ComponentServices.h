#pragma once

// What each thread's component is made of in penlark.dll. The dialog has no window on Windows
// yet and Word is not driven over COM yet: showing the dialog, message and input boxes and every
// use of the word processor fail with a message that says so, which reaches the calling macro as
// an automation error. The mouse pointer and the shell are Windows' own.
namespace penlark::com {

// Installs the factory of the components (Component::SetFactory).
void InstallComponentFactory();

}  // namespace penlark::com
