#pragma once

#include "Penlark.h"
#include "automation/Tarnwell.h"

#include <atomic>
#include <optional>
#include <wrl/client.h>

// An instance of the class Tarnwell as macros see it: the dual interface _Tarnwell, whose
// IDispatch side is served from the type library, and error objects for its failures. Its members
// are those of a Tarnwell on this thread's component, made at the first call.
namespace penlark::com {

class TarnwellObject final : public _Tarnwell, public ISupportErrorInfo {
 public:
  // Creates an object and hands out its interface `iid`.
  static HRESULT Create(REFIID iid, void** object);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

  HRESULT STDMETHODCALLTYPE get_DOCTYPE(short* value) override;
  HRESULT STDMETHODCALLTYPE put_DOCTYPE(short value) override;
  HRESULT STDMETHODCALLTYPE XMLNew(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE XMLOpen(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE XMLClose(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE WordClose(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE XMLSave(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE XMLSaveAs(VARIANT_BOOL* result) override;
  HRESULT STDMETHODCALLTYPE XMLHelp(VARIANT_BOOL* result) override;

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  explicit TarnwellObject(Microsoft::WRL::ComPtr<ITypeInfo> typeInfo);
  ~TarnwellObject();

  Tarnwell& Core();
  HRESULT Forward(bool (Tarnwell::*operation)(), VARIANT_BOOL* result);

  std::atomic<ULONG> references_ = 1;
  Microsoft::WRL::ComPtr<ITypeInfo> typeInfo_;
  std::optional<Tarnwell> core_;
};

}  // namespace penlark::com
