#include "automation/com/TarnwellObject.h"

#include "automation/com/ComError.h"
#include "automation/com/Module.h"

#include <new>
#include <oleauto.h>

namespace penlark::com {

using Microsoft::WRL::ComPtr;

HRESULT TarnwellObject::Create(REFIID iid, void** object) {
  ComPtr<ITypeLib> library;
  HRESULT result = LoadOwnTypeLibrary(&library);
  ComPtr<ITypeInfo> typeInfo;
  if (SUCCEEDED(result)) {
    result = library->GetTypeInfoOfGuid(IID__Tarnwell, &typeInfo);
  }
  if (FAILED(result)) {
    return result;
  }
  auto* created = new (std::nothrow) TarnwellObject(std::move(typeInfo));
  if (created == nullptr) {
    return E_OUTOFMEMORY;
  }
  result = created->QueryInterface(iid, object);
  created->Release();
  return result;
}

TarnwellObject::TarnwellObject(ComPtr<ITypeInfo> typeInfo) : typeInfo_(std::move(typeInfo)) {
  AddModuleReference();
}

TarnwellObject::~TarnwellObject() {
  ReleaseModuleReference();
}

HRESULT TarnwellObject::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__Tarnwell) {
    *object = static_cast<_Tarnwell*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    *object = static_cast<ISupportErrorInfo*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TarnwellObject::AddRef() {
  return ++references_;
}

ULONG TarnwellObject::Release() {
  const ULONG left = --references_;
  if (left == 0) {
    delete this;
  }
  return left;
}

HRESULT TarnwellObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) {
    return E_POINTER;
  }
  *count = 1;
  return S_OK;
}

HRESULT TarnwellObject::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) {
  if (typeInfo == nullptr) {
    return E_POINTER;
  }
  *typeInfo = nullptr;
  if (index != 0) {
    return DISP_E_BADINDEX;
  }
  return typeInfo_.CopyTo(typeInfo);
}

HRESULT TarnwellObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return ::DispGetIDsOfNames(typeInfo_.Get(), names, count, ids);
}

HRESULT TarnwellObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  return ::DispInvoke(static_cast<_Tarnwell*>(this), typeInfo_.Get(), id, flags, parameters, result,
                      exception, argumentError);
}

Tarnwell& TarnwellObject::Core() {
  if (!core_) {
    core_.emplace();
  }
  return *core_;
}

HRESULT TarnwellObject::Forward(bool (Tarnwell::*operation)(), VARIANT_BOOL* result) {
  if (result == nullptr) {
    return E_POINTER;
  }
  return Guarded([&] { *result = (Core().*operation)() ? VARIANT_TRUE : VARIANT_FALSE; });
}

HRESULT TarnwellObject::get_DOCTYPE(short* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  return Guarded([&] { *value = Core().DOCTYPE; });
}

HRESULT TarnwellObject::put_DOCTYPE(short value) {
  return Guarded([&] { Core().DOCTYPE = value; });
}

HRESULT TarnwellObject::XMLNew(VARIANT_BOOL* result) {
  return Forward(&Tarnwell::XMLNew, result);
}

HRESULT TarnwellObject::XMLOpen(VARIANT_BOOL* result) {
  return Forward(&Tarnwell::XMLOpen, result);
}

HRESULT TarnwellObject::XMLClose(VARIANT_BOOL* result) {
  return Forward(&Tarnwell::XMLClose, result);
}

HRESULT TarnwellObject::WordClose(VARIANT_BOOL* result) {
  return Forward(&Tarnwell::WordClose, result);
}

HRESULT TarnwellObject::XMLSave(VARIANT_BOOL* result) {
  return Forward(&Tarnwell::XMLSave, result);
}

HRESULT TarnwellObject::XMLSaveAs(VARIANT_BOOL* result) {
  return Forward(&Tarnwell::XMLSaveAs, result);
}

HRESULT TarnwellObject::XMLHelp(VARIANT_BOOL* result) {
  return Forward(&Tarnwell::XMLHelp, result);
}

HRESULT TarnwellObject::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID__Tarnwell ? S_OK : S_FALSE;
}

}  // namespace penlark::com
