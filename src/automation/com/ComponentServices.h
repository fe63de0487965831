#pragma once

// What each thread's component is made of in penlark.dll: Word over COM, the dialog's Win32
// window, Windows' message and input boxes, and Windows' own mouse pointer and shell. With
// PENLARK_DIALOG_SCRIPT set, the user is played from that script instead.
namespace penlark::com {

// Installs the factory of the components (Component::SetFactory).
void InstallComponentFactory();

}  // namespace penlark::com
