// The four functions every in-process server exports (named in Penlark.def), and its entry point.
#include "Penlark.h"
#include "automation/com/ClassFactory.h"
#include "automation/com/ComponentServices.h"
#include "automation/com/Module.h"
#include "automation/com/Registration.h"

namespace {

penlark::com::ClassFactory classFactory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    penlark::com::SetModuleHandle(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  *object = nullptr;
  if (classId != CLSID_Tarnwell) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  penlark::com::InstallComponentFactory();
  return classFactory.QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() {
  return penlark::com::ModuleInUse() ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer() {
  return penlark::com::RegisterServer();
}

STDAPI DllUnregisterServer() {
  return penlark::com::UnregisterServer();
}
