#include "automation/Tarnwell.h"
#include "platform/windows/WideText.h"
#include "support/TempDir.h"
#include "word/WordDouble.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

// penlark.dll as Windows sees it: registered and unregistered with regsvr32, created by its name
// and called through IDispatch by a C++ client and by a VBScript, the way macros call it.
namespace penlark {
namespace {

using Microsoft::WRL::ComPtr;
namespace fs = std::filesystem;

fs::path TestFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return fs::path(path).parent_path();
}

const fs::path& Dll() {
  static const fs::path dll = TestFolder() / "penlark.dll";
  return dll;
}

GUID Guid(std::string_view text) {
  GUID guid{};
  ::CLSIDFromString(ToWide(text).c_str(), &guid);
  return guid;
}

// A function the DLL exports, cast through void(*)(), which stands for any function type.
template <class Function>
Function Export(HMODULE dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(dll, name)));
}

struct Finished {
  DWORD exitCode = ~DWORD{0};
  std::string output;
};

// Runs a program of the system, its output into a file, and waits for its end.
Finished RunProgram(std::wstring commandLine) {
  const testing::TempDir folder;
  const fs::path outputFile = folder / "output";
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE output = ::CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      &inheritable, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
  ::CloseHandle(output);
  Finished finished;
  if (started) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &finished.exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    finished.output = testing::ReadFile(outputFile).value_or("");
  }
  return finished;
}

DWORD Regsvr32(const std::wstring& options, const fs::path& dll) {
  return RunProgram(L"regsvr32.exe /s " + options + L" \"" + dll.wstring() + L"\"").exitCode;
}

// A string value below HKEY_LOCAL_MACHINE\Software\Classes; "" when it is missing.
std::string ClassesValue(const std::string& key, const wchar_t* name = nullptr) {
  const std::wstring path = L"Software\\Classes\\" + ToWide(key);
  DWORD bytes = 0;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
    return {};
  }
  std::wstring value(bytes / sizeof(wchar_t), L'\0');
  ::RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value.data(),
                 &bytes);
  value.resize(bytes / sizeof(wchar_t) - 1);
  return ToUtf8(value);
}

// The registry entries of the class, its name and its type library, as one text.
std::string RegisteredEntries() {
  const std::string classKey = "CLSID\\" + std::string(Tarnwell::kClassId);
  const std::string library = "TypeLib\\" + std::string(Tarnwell::kTypeLibraryId) + "\\1.0";
  const std::string interfaceKey = "Interface\\" + std::string(Tarnwell::kInterfaceId);
  return ClassesValue(classKey + "\\InprocServer32") + "|" +
         ClassesValue(classKey + "\\InprocServer32", L"ThreadingModel") + "|" +
         ClassesValue("Penlark.Tarnwell\\CLSID") + "|" + ClassesValue(library) + "|" +
         ClassesValue(library + "\\0\\win64") + "|" + ClassesValue(interfaceKey) + "|" +
         ClassesValue(interfaceKey + "\\TypeLib");
}

std::string EntriesFor(const fs::path& dll) {
  return dll.string() + "|Apartment|" + std::string(Tarnwell::kClassId) + "|" +
         std::string(Tarnwell::kTypeLibraryDescription) + "|" + dll.string() + "|" +
         std::string(Tarnwell::kInterfaceName) + "|" + std::string(Tarnwell::kTypeLibraryId);
}

TEST(ComServerRegistration, EachStepLeavesTheEntriesOfOneFileOrNone) {
  const testing::TempDir folder;
  const fs::path copy = folder / "penlark.dll";
  fs::copy_file(Dll(), copy);
  enum class Owner { None, Dll, Copy };
  const struct {
    const char* step;
    const wchar_t* options;
    Owner file;
    bool succeeds;
    Owner registered;
  } steps[] = {
      {"unregistering, nothing registered", L"/u", Owner::Dll, true, Owner::None},
      {"registering", L"", Owner::Dll, true, Owner::Dll},
      {"registering again", L"", Owner::Dll, true, Owner::Dll},
      {"registering another copy", L"", Owner::Copy, true, Owner::Copy},
      {"unregistering a file the class is not registered for", L"/u", Owner::Dll, false,
       Owner::Copy},
      {"unregistering the registered file", L"/u", Owner::Copy, true, Owner::None},
      {"unregistering again", L"/u", Owner::Copy, true, Owner::None},
  };
  const auto fileOf = [&](Owner owner) { return owner == Owner::Copy ? copy : Dll(); };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.step);
    EXPECT_EQ(Regsvr32(step.options, fileOf(step.file)) == 0, step.succeeds);
    EXPECT_EQ(RegisteredEntries(),
              step.registered == Owner::None ? "||||||" : EntriesFor(fileOf(step.registered)));
  }
}

// The DLL may be unloaded exactly when no object and no lock of its class object is left.
TEST(ComServerLifetime, TheDllStaysLoadedWhileObjectsOrLocksLive) {
  const HMODULE dll = ::LoadLibraryW(Dll().c_str());
  ASSERT_NE(dll, nullptr);
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
  const auto getClassObject = Export<GetClassObject>(dll, "DllGetClassObject");
  const auto canUnloadNow = Export<CanUnloadNow>(dll, "DllCanUnloadNow");
  ASSERT_TRUE(getClassObject != nullptr && canUnloadNow != nullptr);
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(getClassObject(IID_IDispatch, IID_PPV_ARGS(&factory)), CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(getClassObject(Guid(Tarnwell::kClassId), IID_PPV_ARGS(&factory)), S_OK);
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_PPV_ARGS(&aggregated)),
            CLASS_E_NOAGGREGATION);
  ComPtr<IDispatch> object;
  const struct {
    const char* step;
    std::function<void()> action;
    HRESULT canUnload;
  } steps[] = {
      {"nothing made", [] {}, S_OK},
      {"class object locked", [&] { factory->LockServer(TRUE); }, S_FALSE},
      {"class object unlocked", [&] { factory->LockServer(FALSE); }, S_OK},
      {"object made", [&] { factory->CreateInstance(nullptr, IID_PPV_ARGS(&object)); }, S_FALSE},
      {"object released", [&] { object.Reset(); }, S_OK},
  };
  for (const auto& step : steps) {
    step.action();
    EXPECT_EQ(canUnloadNow(), step.canUnload) << step.step;
  }
  factory.Reset();
  ::FreeLibrary(dll);
}

// penlark.dll registered for the life of a test, and COM initialised for an apartment.
class RegisteredServer : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::RegisterWordDouble();
    ASSERT_EQ(Regsvr32(L"", Dll()), 0u);
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override {
    ::CoUninitialize();
    EXPECT_EQ(Regsvr32(L"/u", Dll()), 0u);
  }
};

std::string Name(ITypeLib& library, int index) {
  BSTR name = nullptr;
  BSTR description = nullptr;
  library.GetDocumentation(index, &name, &description, nullptr, nullptr);
  std::string text = ToUtf8(name ? name : L"") + " - " + ToUtf8(description ? description : L"");
  ::SysFreeString(name);
  ::SysFreeString(description);
  return text;
}

// Each function of an interface: its name, how it is invoked and the type of its last parameter
// (the value a property is given, the value a function returns).
std::vector<std::string> Functions(ITypeInfo& interfaceInfo) {
  TYPEATTR* attributes = nullptr;
  interfaceInfo.GetTypeAttr(&attributes);
  std::vector<std::string> functions;
  for (UINT index = 0; index < attributes->cFuncs; ++index) {
    FUNCDESC* function = nullptr;
    interfaceInfo.GetFuncDesc(index, &function);
    BSTR name = nullptr;
    UINT names = 0;
    interfaceInfo.GetNames(function->memid, &name, 1, &names);
    const TYPEDESC& last = function->lprgelemdescParam[function->cParams - 1].tdesc;
    const VARTYPE type = last.vt == VT_PTR ? last.lptdesc->vt : last.vt;
    functions.push_back(ToUtf8(name) + " " + std::to_string(function->invkind) + " " +
                        std::to_string(type));
    ::SysFreeString(name);
    interfaceInfo.ReleaseFuncDesc(function);
  }
  interfaceInfo.ReleaseTypeAttr(attributes);
  return functions;
}

std::string FileDescription(const fs::path& file) {
  std::vector<char> data(::GetFileVersionInfoSizeW(file.c_str(), nullptr));
  void* value = nullptr;
  UINT length = 0;
  if (data.empty() ||
      !::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !::VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\FileDescription", &value,
                        &length)) {
    return {};
  }
  return ToUtf8(static_cast<const wchar_t*>(value));
}

TEST_F(RegisteredServer, TheTypeLibraryAndTheFileDescribeTheClass) {
  ComPtr<ITypeLib> library;
  ASSERT_TRUE(
      SUCCEEDED(::LoadRegTypeLib(Guid(Tarnwell::kTypeLibraryId), 1, 0, LOCALE_NEUTRAL, &library)));
  EXPECT_EQ(Name(*library.Get(), -1), std::string(Tarnwell::kTypeLibraryName) + " - " +
                                          std::string(Tarnwell::kTypeLibraryDescription));
  TLIBATTR* attributes = nullptr;
  library->GetLibAttr(&attributes);
  EXPECT_EQ(
      std::to_string(attributes->wMajorVerNum) + "." + std::to_string(attributes->wMinorVerNum),
      Tarnwell::kTypeLibraryVersion);
  library->ReleaseTLibAttr(attributes);

  ComPtr<ITypeInfo> classInfo;
  ASSERT_TRUE(SUCCEEDED(library->GetTypeInfoOfGuid(Guid(Tarnwell::kClassId), &classInfo)));
  HREFTYPE interfaceType = 0;
  ComPtr<ITypeInfo> dispatchInfo;
  ComPtr<ITypeInfo> interfaceInfo;
  ASSERT_TRUE(SUCCEEDED(classInfo->GetRefTypeOfImplType(0, &interfaceType)));
  ASSERT_TRUE(SUCCEEDED(classInfo->GetRefTypeInfo(interfaceType, &dispatchInfo)));
  ASSERT_TRUE(SUCCEEDED(library->GetTypeInfoOfGuid(Guid(Tarnwell::kInterfaceId), &interfaceInfo)));
  EXPECT_EQ(dispatchInfo.Get(), interfaceInfo.Get());
  // The interface side of the dual interface, after IDispatch's own functions.
  ASSERT_TRUE(SUCCEEDED(interfaceInfo->GetRefTypeOfImplType(~UINT{0}, &interfaceType)));
  ASSERT_TRUE(SUCCEEDED(interfaceInfo->GetRefTypeInfo(interfaceType, &interfaceInfo)));
  const auto get = std::to_string(INVOKE_PROPERTYGET);
  const auto put = std::to_string(INVOKE_PROPERTYPUT);
  const auto method = std::to_string(INVOKE_FUNC);
  const auto i2 = std::to_string(VT_I2);
  const auto boolean = std::to_string(VT_BOOL);
  EXPECT_EQ(Functions(*interfaceInfo.Get()),
            (std::vector<std::string>{
                "DOCTYPE " + get + " " + i2, "DOCTYPE " + put + " " + i2,
                "XMLNew " + method + " " + boolean, "XMLOpen " + method + " " + boolean,
                "XMLClose " + method + " " + boolean, "WordClose " + method + " " + boolean,
                "XMLSave " + method + " " + boolean, "XMLSaveAs " + method + " " + boolean,
                "XMLHelp " + method + " " + boolean}));

  EXPECT_EQ(FileDescription(Dll()), Tarnwell::kFileDescription);
}

// Without an X display for Wine the dialog's window cannot be created, and the macro is told so;
// Word (the double, with no document open) passes its own error on to the macro.
constexpr const char* kNoWindow =
    "The Open/Save dialog cannot be shown: Windows could not create its window.";
constexpr const char* kNoDocument = "This command is not available because no document is open.";

enum class Kind { Get, Put, Method };

// What macros do with an object, and what each call gives: its result as text, "" for a
// property put, or "error: " and the description the caller receives.
const struct MacroCall {
  const char* member;
  Kind kind;
  short argument;
  std::string expected;
} kMacroCalls[] = {
    {"DOCTYPE", Kind::Get, 0, "0"},
    {"DOCTYPE", Kind::Put, -3, ""},
    {"XMLNew", Kind::Method, 0, "True"},
    {"XMLOpen", Kind::Method, 0, "error: " + std::string(kNoWindow)},
    {"XMLClose", Kind::Method, 0, "False"},
    {"WordClose", Kind::Method, 0, "error: " + std::string(kNoDocument)},
    {"XMLSave", Kind::Method, 0, "error: " + std::string(kNoDocument)},
    {"XMLSaveAs", Kind::Method, 0, "error: " + std::string(kNoDocument)},
    {"XMLHelp", Kind::Method, 0, "False"},
    {"DOCTYPE", Kind::Get, 0, "-3"},
};

std::string CallThroughDispatch(IDispatch& object, const MacroCall& call) {
  std::wstring name = ToWide(call.member);
  LPOLESTR names[] = {name.data()};
  DISPID member = 0;
  if (FAILED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member))) {
    return "no member";
  }
  VARIANT argument;
  ::VariantInit(&argument);
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{};
  if (call.kind == Kind::Put) {
    argument.vt = VT_I2;
    argument.iVal = call.argument;
    parameters = {&argument, &putId, 1, 1};
  }
  const WORD flags = call.kind == Kind::Get   ? DISPATCH_PROPERTYGET
                     : call.kind == Kind::Put ? DISPATCH_PROPERTYPUT
                                              : DISPATCH_METHOD;
  VARIANT result;
  ::VariantInit(&result);
  EXCEPINFO exception{};
  const HRESULT outcome = object.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                        &result, &exception, nullptr);
  std::string text;
  if (outcome == DISP_E_EXCEPTION) {
    text = "error: " + ToUtf8(exception.bstrDescription ? exception.bstrDescription : L"");
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrHelpFile);
  } else if (FAILED(outcome)) {
    text = "failed";
  } else if (result.vt != VT_EMPTY &&
             SUCCEEDED(::VariantChangeType(&result, &result, VARIANT_ALPHABOOL, VT_BSTR))) {
    text = ToUtf8(result.bstrVal);
  }
  ::VariantClear(&result);
  return text;
}

TEST_F(RegisteredServer, ACppClientCreatesTheClassByNameAndCallsItLateBound) {
  CLSID classId{};
  ASSERT_TRUE(SUCCEEDED(::CLSIDFromProgID(L"Penlark.Tarnwell", &classId)));
  ComPtr<IDispatch> object;
  ASSERT_TRUE(
      SUCCEEDED(::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object))));
  for (const MacroCall& call : kMacroCalls) {
    EXPECT_EQ(CallThroughDispatch(*object.Get(), call), call.expected) << call.member;
  }
}

std::string ScriptLine(const MacroCall& call) {
  const std::string member = std::string("object.") + call.member;
  const std::string action = call.kind == Kind::Put
                                 ? member + " = " + std::to_string(call.argument) + ": r = \"\""
                                 : "r = CStr(" + member + ")";
  return action +
         "\r\nIf Err.Number <> 0 Then r = \"error: \" & Err.Description\r\n"
         "WScript.Echo r\r\nErr.Clear\r\n";
}

TEST_F(RegisteredServer, AVBScriptCreatesTheClassAndCallsIt) {
  std::string script =
      "On Error Resume Next\r\nSet object = CreateObject(\"Penlark.Tarnwell\")\r\n";
  std::string expected;
  for (const MacroCall& call : kMacroCalls) {
    script += ScriptLine(call);
    expected += call.expected + "\r\n";
  }
  const testing::TempDir folder;
  testing::WriteFile(folder / "calls.vbs", script);
  const Finished finished =
      RunProgram(L"cscript.exe //nologo \"" + (folder / "calls.vbs").wstring() + L"\"");
  EXPECT_EQ(finished.exitCode, 0u);
  EXPECT_EQ(finished.output, expected);
}

}  // namespace
}  // namespace penlark
