#include "automation/com/TarnwellObject.h"

#include "automation/com/ComError.h"
#include "automation/com/Module.h"

#include <new>
#include <oleauto.h>
#include <stdexcept>

namespace penlark::com {
namespace {

using Microsoft::WRL::ComPtr;

VARIANT_BOOL ToVariantBool(bool value) {
  return value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace

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

HRESULT TarnwellObject::get_DOCTYPE(short* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = doctype_;
  return S_OK;
}

HRESULT TarnwellObject::put_DOCTYPE(short value) {
  doctype_ = value;
  return S_OK;
}

HRESULT TarnwellObject::XMLNew(VARIANT_BOOL* result) {
  return Guarded([&] { *result = ToVariantBool(true); });
}

HRESULT TarnwellObject::XMLOpen(VARIANT_BOOL*) {
  return Guarded([] { throw std::runtime_error("XMLOpen is not available yet."); });
}

HRESULT TarnwellObject::XMLClose(VARIANT_BOOL*) {
  return Guarded([] { throw std::runtime_error("XMLClose is not available yet."); });
}

HRESULT TarnwellObject::WordClose(VARIANT_BOOL*) {
  return Guarded([] { throw std::runtime_error("WordClose is not available yet."); });
}

HRESULT TarnwellObject::XMLSave(VARIANT_BOOL*) {
  return Guarded([] { throw std::runtime_error("XMLSave is not available yet."); });
}

HRESULT TarnwellObject::XMLSaveAs(VARIANT_BOOL*) {
  return Guarded([] { throw std::runtime_error("XMLSaveAs is not available yet."); });
}

HRESULT TarnwellObject::XMLHelp(VARIANT_BOOL*) {
  return Guarded([] { throw std::runtime_error("XMLHelp is not available yet."); });
}

HRESULT TarnwellObject::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID__Tarnwell ? S_OK : S_FALSE;
}

}  // namespace penlark::com
