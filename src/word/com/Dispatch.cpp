#include "word/com/Dispatch.h"

#include "platform/windows/WideText.h"
#include "word/Word.h"

#include <algorithm>
#include <utility>
#include <windows.h>

namespace penlark {
namespace {

// Text of an automation string, which may be null for "".
std::string TextOf(BSTR text) {
  return ToUtf8(std::wstring_view(text == nullptr ? L"" : text, ::SysStringLen(text)));
}

std::string SystemMessage(HRESULT result) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer == nullptr ? L"" : buffer, length);
  ::LocalFree(buffer);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
    message.pop_back();
  }
  wchar_t code[16];
  ::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(result));
  message =
      message.empty() ? std::wstring(L"Automation error ") + code : message + L" (" + code + L")";
  return ToUtf8(message);
}

}  // namespace

ComObject::ComObject(const ComObject& other) : object_(other.object_) {
  if (object_ != nullptr) {
    object_->AddRef();
  }
}

ComObject::ComObject(ComObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}

ComObject& ComObject::operator=(ComObject other) noexcept {
  std::swap(object_, other.object_);
  return *this;
}

ComObject::~ComObject() {
  if (object_ != nullptr) {
    object_->Release();
  }
}

const void* ComObject::Identity() const {
  IUnknown* identity = nullptr;
  if (object_ == nullptr ||
      FAILED(object_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
    return object_;
  }
  // The object stays alive through object_, so its identity does too.
  identity->Release();
  return identity;
}

Variant::Variant() {
  ::VariantInit(&value_);
}

Variant::Variant(int number) : Variant() {
  value_.vt = VT_I4;
  value_.lVal = number;
}

Variant::Variant(bool flag) : Variant() {
  value_.vt = VT_BOOL;
  value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(const std::string& text) : Variant() {
  const std::wstring wide = ToWide(text);
  value_.vt = VT_BSTR;
  value_.bstrVal = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

Variant::Variant(const Variant& other) : Variant() {
  ::VariantCopy(&value_, &other.value_);
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_) {
  ::VariantInit(&other.value_);
}

Variant& Variant::operator=(Variant other) noexcept {
  std::swap(value_, other.value_);
  return *this;
}

Variant::~Variant() {
  ::VariantClear(&value_);
}

Variant Variant::Missing() {
  Variant missing;
  missing.value_.vt = VT_ERROR;
  missing.value_.scode = DISP_E_PARAMNOTFOUND;
  return missing;
}

int Variant::ToInt() const {
  Variant number;
  const HRESULT result = ::VariantChangeType(&number.value_, &value_, 0, VT_I4);
  if (FAILED(result)) {
    RaiseComError(result);
  }
  return static_cast<int>(number.value_.lVal);
}

std::string Variant::ToText() const {
  Variant text;
  const HRESULT result = ::VariantChangeType(&text.value_, &value_, 0, VT_BSTR);
  if (FAILED(result)) {
    RaiseComError(result);
  }
  return TextOf(text.value_.bstrVal);
}

ComObject Variant::ToObject() const {
  if (value_.vt != VT_DISPATCH || value_.pdispVal == nullptr) {
    RaiseComError(DISP_E_TYPEMISMATCH);
  }
  value_.pdispVal->AddRef();
  return ComObject(value_.pdispVal);
}

Variant Invoke(const ComObject& object, const wchar_t* member, CallKind kind,
               std::vector<Variant> args) {
  DISPID id = 0;
  auto* name = const_cast<wchar_t*>(member);
  HRESULT result = object.Get()->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(result)) {
    RaiseComError(result);
  }
  // Automation takes the arguments last first.
  std::reverse(args.begin(), args.end());
  std::vector<VARIANT> values;
  for (auto& arg : args) {
    values.push_back(*arg.Raw());
  }
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
  if (kind == CallKind::kPut) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  Variant outcome;
  EXCEPINFO error{};
  result = object.Get()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, static_cast<WORD>(kind), &params,
                                outcome.Raw(), &error, nullptr);
  if (FAILED(result)) {
    RaiseComError(result, result == DISP_E_EXCEPTION ? &error : nullptr);
  }
  return outcome;
}

void RaiseComError(HRESULT result, const EXCEPINFO* error) {
  std::string message;
  if (error != nullptr) {
    EXCEPINFO filled = *error;
    if (filled.pfnDeferredFillIn != nullptr) {
      filled.pfnDeferredFillIn(&filled);
    }
    message = TextOf(filled.bstrDescription);
    const HRESULT code = filled.scode != 0 ? filled.scode : result;
    ::SysFreeString(filled.bstrSource);
    ::SysFreeString(filled.bstrDescription);
    ::SysFreeString(filled.bstrHelpFile);
    result = code;
  }
  throw WordError(message.empty() ? SystemMessage(result) : message);
}

}  // namespace penlark
