// A test double of Word's automation object model, an in-process COM server registered as
// "Word.Application": the application, its Documents collection and its documents, with the
// members Penlark calls, late-bound only. The documents are those of a LocalWord: files read on
// Open, written as RTF by SaveAs, dropped from the collection by Close. Failures are reported as
// Word reports them, with their message in the exception information.
#include "platform/windows/WideText.h"
#include "word/LocalWord.h"

#include <atomic>
#include <map>
#include <memory>
#include <olectl.h>
#include <string>
#include <vector>
#include <windows.h>

namespace penlark {
namespace {

// {AD8A10F7-8769-4130-A53E-A2C5D7DF04CE}
constexpr CLSID kClassId = {
    0xad8a10f7, 0x8769, 0x4130, {0xa5, 0x3e, 0xa2, 0xc5, 0xd7, 0xdf, 0x04, 0xce}};
constexpr const wchar_t* kClassKey =
    L"Software\\Classes\\CLSID\\{AD8A10F7-8769-4130-A53E-A2C5D7DF04CE}";
constexpr const wchar_t* kProgIdKey = L"Software\\Classes\\Word.Application";

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

// An automation object without type information: members are found by name, their ids are their
// positions in Members().
class Object : public IDispatch {
 public:
  virtual ~Object() = default;

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
    const auto members = Members();
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (std::size_t member = 0; member < members.size(); ++member) {
        if (::lstrcmpiW(names[i], members[member]) == 0) {
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
    VARIANT ignored;
    ::VariantInit(result == nullptr ? &ignored : result);
    try {
      Call(id, Arguments(*params), result == nullptr ? &ignored : result);
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

 protected:
  virtual std::vector<const wchar_t*> Members() const = 0;
  virtual void Call(DISPID member, const Arguments& args, VARIANT* result) = 0;

  // Returns an object whose reference the caller holds.
  static void Adopt(VARIANT* result, IDispatch* object) {
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
  }
  static void Return(VARIANT* result, IDispatch* object) {
    object->AddRef();
    Adopt(result, object);
  }
  static void Return(VARIANT* result, const std::string& text) {
    result->vt = VT_BSTR;
    result->bstrVal = ::SysAllocString(ToWide(text).c_str());
  }

 private:
  std::atomic<ULONG> references_ = 1;
};

// The application: its documents, each with its one object while that is in use.
class DocumentObject;
class Application final : public Object {
 public:
  LocalWord word;
  std::map<const WordDocument*, DocumentObject*> objects;

  DocumentObject* ObjectOf(const std::shared_ptr<WordDocument>& document);

 protected:
  std::vector<const wchar_t*> Members() const override {
    return {L"Documents", L"ActiveDocument", L"Visible"};
  }
  void Call(DISPID member, const Arguments& args, VARIANT* result) override;
};

// An object of the application's, holding it alive.
class Part : public Object {
 public:
  explicit Part(Application* application) : application_(application) { application->AddRef(); }
  ~Part() override { application_->Release(); }

 protected:
  Application* application_;
};

class DocumentObject final : public Part {
 public:
  DocumentObject(Application* application, std::shared_ptr<WordDocument> document)
      : Part(application), document_(std::move(document)) {}
  ~DocumentObject() override { application_->objects.erase(document_.get()); }

 protected:
  std::vector<const wchar_t*> Members() const override {
    return {L"Name", L"Path", L"SaveAs", L"Close", L"Activate", L"Application"};
  }
  void Call(DISPID member, const Arguments& args, VARIANT* result) override {
    switch (member) {
      case 0:
        return Return(result, document_->Name());
      case 1:
        return Return(result, document_->Path());
      case 2:
        return document_->SaveAs(args.Text(0), args.Int(1));
      case 3:
        if (args.Has(0) || args.Has(1) || args.Has(2)) {
          throw WordError("This double closes documents only with Word's defaults.");
        }
        return document_->Close();
      case 4:
        return document_->Activate();
      default:
        document_->Name();  // fails once the document is closed
        return Return(result, application_);
    }
  }

 private:
  std::shared_ptr<WordDocument> document_;
};

class DocumentsObject final : public Part {
 public:
  using Part::Part;

 protected:
  std::vector<const wchar_t*> Members() const override { return {L"Count", L"Item", L"Open"}; }
  void Call(DISPID member, const Arguments& args, VARIANT* result) override {
    Application& application = *application_;
    switch (member) {
      case 0:
        result->vt = VT_I4;
        result->lVal = application.word.DocumentsCount();
        return;
      case 1:
        return Adopt(result, application.ObjectOf(application.word.DocumentsItem(args.Int(0))));
      default:
        if (args.Has(1) || !args.Has(2) || args.Bool(2)) {
          throw WordError("This double opens documents only for editing.");
        }
        return Adopt(result, application.ObjectOf(application.word.DocumentsOpen(args.Text(0))));
    }
  }
};

DocumentObject* Application::ObjectOf(const std::shared_ptr<WordDocument>& document) {
  auto& object = objects[document.get()];
  if (object == nullptr) {
    object = new DocumentObject(this, document);
  } else {
    object->AddRef();
  }
  return object;
}

void Application::Call(DISPID member, const Arguments& args, VARIANT* result) {
  switch (member) {
    case 0:
      return Adopt(result, new DocumentsObject(this));
    case 1:
      return Adopt(result, ObjectOf(word.ActiveDocument()));
    default:
      // Its window is always shown: it may only be asked to show it.
      if (!args.Bool(0)) {
        throw WordError("This double cannot hide its window.");
      }
  }
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
    auto* application = new Application;
    const HRESULT result = application->QueryInterface(id, object);
    application->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

bool SetValue(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  return ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, value.c_str(),
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

// The application's objects may outlive the last reference a client counts.
STDAPI DllCanUnloadNow() {
  return S_FALSE;
}

STDAPI DllRegisterServer() {
  using penlark::kClassKey;
  HMODULE self = nullptr;  // this DLL, found by an address inside it
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&penlark::kClassId), &self);
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(self, path, MAX_PATH);
  const std::wstring server = std::wstring(kClassKey) + L"\\InprocServer32";
  const bool written = penlark::SetValue(kClassKey, nullptr, L"Word double") &&
                       penlark::SetValue(server.c_str(), nullptr, path) &&
                       penlark::SetValue(server.c_str(), L"ThreadingModel", L"Apartment") &&
                       penlark::SetValue((std::wstring(penlark::kProgIdKey) + L"\\CLSID").c_str(),
                                         nullptr, L"{AD8A10F7-8769-4130-A53E-A2C5D7DF04CE}");
  return written ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
