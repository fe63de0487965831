// A double of Word's automation model as "Word.Application", late-bound only, over a LocalWord's
// documents; failures reported as Word reports them, with the message in the exception information.
#include "platform/windows/WideText.h"
#include "word/LocalWord.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <olectl.h>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

namespace penlark {
namespace {

constexpr const wchar_t* kClassIdText = L"{AD8A10F7-8769-4130-A53E-A2C5D7DF04CE}";
constexpr CLSID kClassId = {
    0xad8a10f7, 0x8769, 0x4130, {0xa5, 0x3e, 0xa2, 0xc5, 0xd7, 0xdf, 0x04, 0xce}};

// The arguments of one call, in their natural order; optional ones may be missing.
class Arguments {
 public:
  explicit Arguments(const DISPPARAMS& params) : params_(params) {}

  bool Has(UINT position) const {
    return position < params_.cArgs &&
           !(At(position).vt == VT_ERROR && At(position).scode == DISP_E_PARAMNOTFOUND);
  }
  VARIANT Converted(UINT position, VARTYPE type) const {
    if (!Has(position)) {
      throw WordError("Argument not optional.");
    }
    VARIANT value;
    ::VariantInit(&value);
    if (FAILED(::VariantChangeType(&value, &At(position), 0, type))) {
      throw WordError("Type mismatch.");
    }
    return value;
  }
  int Int(UINT position) const { return Converted(position, VT_I4).lVal; }
  bool Bool(UINT position) const { return Converted(position, VT_BOOL).boolVal != VARIANT_FALSE; }
  std::string Text(UINT position) const {
    VARIANT value = Converted(position, VT_BSTR);
    std::string text = ToUtf8(std::wstring_view(value.bstrVal, ::SysStringLen(value.bstrVal)));
    ::VariantClear(&value);
    return text;
  }

 private:
  VARIANT& At(UINT position) const { return params_.rgvarg[params_.cArgs - 1 - position]; }
  const DISPPARAMS& params_;
};

// What a member does with the arguments of a call; it sets the result, if it has one.
using Member = std::function<void(const Arguments&, VARIANT&)>;

// Members found by name, ids their positions; `ended` runs when the last reference goes.
class Object final : public IDispatch {
 public:
  explicit Object(std::vector<std::pair<const wchar_t*, Member>> members,
                  std::function<void()> ended = {})
      : members_(std::move(members)), ended_(std::move(ended)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id != IID_IUnknown && id != IID_IDispatch) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<IDispatch*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      if (ended_) {
        ended_();
      }
      delete this;
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (std::size_t member = 0; member < members_.size(); ++member) {
        if (::lstrcmpiW(names[i], members_[member].first) == 0) {
          ids[i] = static_cast<DISPID>(member);
        }
      }
      if (ids[i] == DISPID_UNKNOWN) {
        return DISP_E_UNKNOWNNAME;
      }
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* error, UINT*) override {
    if (id < 0 || static_cast<std::size_t>(id) >= members_.size()) {
      return DISP_E_MEMBERNOTFOUND;
    }
    VARIANT ignored;
    VARIANT& value = result == nullptr ? ignored : *result;
    ::VariantInit(&value);
    try {
      members_[static_cast<std::size_t>(id)].second(Arguments(*params), value);
      return S_OK;
    } catch (const WordError& failure) {
      if (error != nullptr) {
        *error = EXCEPINFO{};
        error->bstrSource = ::SysAllocString(L"Word.Application");
        error->bstrDescription = ::SysAllocString(ToWide(failure.what()).c_str());
        error->scode = DISP_E_EXCEPTION;
      }
      return DISP_E_EXCEPTION;
    }
  }

 private:
  std::vector<std::pair<const wchar_t*, Member>> members_;
  std::function<void()> ended_;
  std::atomic<ULONG> references_ = 1;
};

// Results; an object's reference passes to the caller.
void Set(VARIANT& result, IDispatch* object) {
  result.vt = VT_DISPATCH;
  result.pdispVal = object;
}
void Set(VARIANT& result, const std::string& text) {
  result.vt = VT_BSTR;
  result.bstrVal = ::SysAllocString(ToWide(text).c_str());
}

// The word processor behind the objects, with each document's one object; every object holds it.
struct State {
  LocalWord word;
  std::map<const WordDocument*, Object*> objects;
};
using SharedState = std::shared_ptr<State>;

Object* ApplicationObject(const SharedState& state);

Object* DocumentObject(const SharedState& state, const std::shared_ptr<WordDocument>& document) {
  Object*& object = state->objects[document.get()];
  if (object != nullptr) {
    object->AddRef();
    return object;
  }
  object = new Object(
      {{L"Name", [document](const Arguments&, VARIANT& r) { Set(r, document->Name()); }},
       {L"Path", [document](const Arguments&, VARIANT& r) { Set(r, document->Path()); }},
       {L"SaveAs", [document](const Arguments& args,
                              VARIANT&) { document->SaveAs(args.Text(0), args.Int(1)); }},
       {L"Close",
        [document](const Arguments& args, VARIANT&) {
          if (args.Has(0) || args.Has(1) || args.Has(2)) {
            throw WordError("This double closes documents only with Word's defaults.");
          }
          document->Close();
        }},
       {L"Activate", [document](const Arguments&, VARIANT&) { document->Activate(); }},
       {L"Application",
        [state, document](const Arguments&, VARIANT& r) {
          document->Name();  // fails once the document is closed
          Set(r, ApplicationObject(state));
        }}},
      [state, key = document.get()] { state->objects.erase(key); });
  return object;
}

Object* DocumentsObject(const SharedState& state) {
  return new Object({{L"Count",
                      [state](const Arguments&, VARIANT& r) {
                        r.vt = VT_I4;
                        r.lVal = state->word.DocumentsCount();
                      }},
                     {L"Item",
                      [state](const Arguments& args, VARIANT& r) {
                        Set(r, DocumentObject(state, state->word.DocumentsItem(args.Int(0))));
                      }},
                     {L"Open", [state](const Arguments& args, VARIANT& r) {
                        if (args.Has(1) || !args.Has(2) || args.Bool(2)) {
                          throw WordError("This double opens documents only for editing.");
                        }
                        Set(r, DocumentObject(state, state->word.DocumentsOpen(args.Text(0))));
                      }}});
}

Object* ApplicationObject(const SharedState& state) {
  return new Object(
      {{L"Documents", [state](const Arguments&, VARIANT& r) { Set(r, DocumentsObject(state)); }},
       {L"ActiveDocument",
        [state](const Arguments&, VARIANT& r) {
          Set(r, DocumentObject(state, state->word.ActiveDocument()));
        }},
       // Its window is always shown: it may only be asked to show it.
       {L"Visible", [](const Arguments& args, VARIANT&) {
          if (!args.Bool(0)) {
            throw WordError("This double cannot hide its window.");
          }
        }}});
}

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id != IID_IUnknown && id != IID_IClassFactory) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    Object* application = ApplicationObject(std::make_shared<State>());
    const HRESULT result = application->QueryInterface(id, object);
    application->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  return ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str(), name, REG_SZ,
                           value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
         ERROR_SUCCESS;
}

}  // namespace
}  // namespace penlark

extern "C" {

STDAPI DllGetClassObject(REFCLSID classId, REFIID id, void** object) {
  static penlark::Factory factory;
  if (classId != penlark::kClassId) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return factory.QueryInterface(id, object);
}

STDAPI DllRegisterServer() {
  using penlark::SetValue;
  HMODULE self = nullptr;  // this DLL, found by an address inside it
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&penlark::kClassId), &self);
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(self, path, MAX_PATH);
  const std::wstring classKey = std::wstring(L"CLSID\\") + penlark::kClassIdText;
  const bool written = SetValue(classKey, nullptr, L"Word double") &&
                       SetValue(classKey + L"\\InprocServer32", nullptr, path) &&
                       SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                       SetValue(L"Word.Application\\CLSID", nullptr, penlark::kClassIdText);
  return written ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
