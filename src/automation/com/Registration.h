#pragma once

#include <string_view>
#include <windows.h>

// The registry entries of the class Tarnwell and its type library, per machine (below
// HKEY_LOCAL_MACHINE\Software\Classes), written and removed by DllRegisterServer and
// DllUnregisterServer.
namespace penlark::com {

// The name macros create the class by: the type library's name, then the class's.
inline constexpr std::wstring_view kProgId = L"Penlark.Tarnwell";

// Writes the entries for this DLL's file, replacing those of any other file. When a write fails,
// what was written is removed again and the failure returned.
HRESULT RegisterServer();

// Removes the entries when they name this DLL's file: S_OK. S_FALSE when the class is not
// registered; SELFREG_E_CLASS, removing nothing, when it is registered for another file.
HRESULT UnregisterServer();

}  // namespace penlark::com
