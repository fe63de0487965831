#pragma once

#include <unknwn.h>

// The class object of Tarnwell: what DllGetClassObject hands out and CoCreateInstance asks for
// new objects. One static instance; it does not count as a reference to the DLL, its locks do.
namespace penlark::com {

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

}  // namespace penlark::com
