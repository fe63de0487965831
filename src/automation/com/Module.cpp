#include "automation/com/Module.h"

#include <atomic>
#include <oleauto.h>

namespace penlark::com {
namespace {

HMODULE moduleHandle = nullptr;
std::atomic<long> moduleReferences = 0;

}  // namespace

void SetModuleHandle(HMODULE module) {
  moduleHandle = module;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(moduleHandle, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

HRESULT LoadOwnTypeLibrary(ITypeLib** library) {
  return ::LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library);
}

void AddModuleReference() {
  ++moduleReferences;
}

void ReleaseModuleReference() {
  --moduleReferences;
}

bool ModuleInUse() {
  return moduleReferences > 0;
}

}  // namespace penlark::com
