#pragma once

#include <oaidl.h>
#include <string>
#include <windows.h>

// The DLL itself: its file, its type library, and the count of what keeps it loaded (live objects
// and class-factory locks).
namespace penlark::com {

// Records the DLL's handle; called once, when the DLL is loaded.
void SetModuleHandle(HMODULE module);
// The full path of the DLL's file.
std::wstring ModulePath();
// The type library embedded in the DLL's file.
HRESULT LoadOwnTypeLibrary(ITypeLib** library);

void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();

}  // namespace penlark::com
