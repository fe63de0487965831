#include "automation/Tarnwell.h"
#include "conversion/Transform.h"
#include "platform/Settings.h"
#include "platform/windows/WideText.h"
#include "support/ChildProcess.h"
#include "support/MachineSettings.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

// penlark.dll as Windows sees it: registered, loaded, and called late bound by name from VBScript.
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

// Quietly registers `dll`, or with "/u" unregisters it: the exit status.
int Regsvr32(const std::string& option, const fs::path& dll) {
  std::vector<std::string> args{"/s", option, dll.string()};
  std::erase(args, "");
  return testing::RunProgram("regsvr32.exe", args).exitCode;
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
    const char* option;
    Owner file;
    bool succeeds;
    Owner registered;
  } steps[] = {
      {"unregistering, nothing registered", "/u", Owner::Dll, true, Owner::None},
      {"registering", "", Owner::Dll, true, Owner::Dll},
      {"registering again", "", Owner::Dll, true, Owner::Dll},
      {"registering another copy", "", Owner::Copy, true, Owner::Copy},
      {"unregistering a file the class is not registered for", "/u", Owner::Dll, false,
       Owner::Copy},
      {"unregistering the registered file", "/u", Owner::Copy, true, Owner::None},
      {"unregistering again", "/u", Owner::Copy, true, Owner::None},
  };
  const auto fileOf = [&](Owner owner) { return owner == Owner::Copy ? copy : Dll(); };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.step);
    EXPECT_EQ(Regsvr32(step.option, fileOf(step.file)) == 0, step.succeeds);
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

// penlark.dll registered with the Word double, COM initialised, the user played from `script`.
class RegisteredServer : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(install / "work");
    fs::create_directories(install / "history");
    ASSERT_EQ(Regsvr32("", TestFolder() / "penlark_word_double.dll"), 0);
    ASSERT_EQ(Regsvr32("", Dll()), 0);
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override {
    ::CoUninitialize();
    EXPECT_EQ(Regsvr32("/u", Dll()), 0);
  }

  const testing::TempDir folder;
  const fs::path script = folder / "script";
  const testing::ScopedEnv scriptName{"PENLARK_DIALOG_SCRIPT", script.string()};
  // A fresh installation folder (its work and history folders, no history), named in the registry.
  const fs::path install = folder / "install";
  const testing::MachineSettings settings{SettingsFileNaming(install.string())};
};

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
  ASSERT_EQ(::LoadRegTypeLib(Guid(Tarnwell::kTypeLibraryId), 1, 0, LOCALE_NEUTRAL, &library), S_OK);
  BSTR name = nullptr;
  BSTR description = nullptr;
  TLIBATTR* attributes = nullptr;
  library->GetDocumentation(-1, &name, &description, nullptr, nullptr);
  library->GetLibAttr(&attributes);
  EXPECT_EQ(ToUtf8(name) + " " + std::to_string(attributes->wMajorVerNum) + "." +
                std::to_string(attributes->wMinorVerNum) + " - " + ToUtf8(description),
            std::string(Tarnwell::kTypeLibraryName) + " " +
                std::string(Tarnwell::kTypeLibraryVersion) + " - " +
                std::string(Tarnwell::kTypeLibraryDescription));
  library->ReleaseTLibAttr(attributes);
  ::SysFreeString(name);
  ::SysFreeString(description);
  // The class's default interface is the dual interface.
  ComPtr<ITypeInfo> classInfo;
  ComPtr<ITypeInfo> interfaceInfo;
  HREFTYPE type = 0;
  ASSERT_EQ(library->GetTypeInfoOfGuid(Guid(Tarnwell::kClassId), &classInfo), S_OK);
  ASSERT_EQ(classInfo->GetRefTypeOfImplType(0, &type), S_OK);
  ASSERT_EQ(classInfo->GetRefTypeInfo(type, &interfaceInfo), S_OK);
  ASSERT_EQ(library->GetTypeInfoOfGuid(Guid(Tarnwell::kInterfaceId), &classInfo), S_OK);
  EXPECT_EQ(interfaceInfo.Get(), classInfo.Get());
  EXPECT_EQ(FileDescription(Dll()), Tarnwell::kFileDescription);
}

constexpr const char* kNoDocument = "This command is not available because no document is open.";

// The operations end to end as cscript calls them, over the reference server and the Word double.
// Each row: a statement and its result as text, "" for a property put, or "error: " and why.
TEST_F(RegisteredServer, AVBScriptCreatesTheClassByNameAndItsCallsReachTheServerAndWord) {
  testing::TestServer server;
  testing::WriteFile(folder / "report.rtf", "{\\rtf1\\ansi Report\\par}");
  const std::string reportXml = RtfFileToXml(folder / "report.rtf");
  server.AddDocument("/report.rtf", reportXml);
  testing::WriteFile(script, "set server " + server.ServerText() +
                                 "\nset user ann\nset password secret\nclick login\n"
                                 "set filename report.rtf\nclick action\n--\n"
                                 "set filename copy.rtf\nclick action\n");
  const std::string noDocument = "error: " + std::string(kNoDocument);
  const std::pair<std::string, std::string> calls[] = {
      {"TypeName(object.DOCTYPE) & object.DOCTYPE", "Integer0"},
      {"object.DOCTYPE = -3", ""},
      {"object.XMLNew", "True"},
      {"object.XMLSave", noDocument},
      {"object.XMLOpen", "False"},
      {"object.XMLSaveAs", "False"},
      {"object.XMLClose", "False"},
      {"object.WordClose", noDocument},
      {"object.XMLHelp", "False"},
      {"object.DOCTYPE", "-3"},
  };
  std::string vbs = "On Error Resume Next\r\nSet object = CreateObject(\"Penlark.Tarnwell\")\r\n";
  std::string expected;
  for (const auto& [statement, result] : calls) {
    vbs += (statement.find(" = ") != std::string::npos ? statement + ": r = \"\""
                                                       : "r = CStr(" + statement + ")") +
           "\r\nIf Err.Number <> 0 Then r = \"error: \" & Err.Description\r\n"
           "WScript.Echo r\r\nErr.Clear\r\n";
    expected += result + "\n";
  }
  testing::WriteFile(folder / "calls.vbs", vbs);
  const testing::ProgramResult finished =
      testing::RunProgram("cscript.exe", {"//nologo", (folder / "calls.vbs").string()});
  EXPECT_EQ(finished.exitCode, 0);
  EXPECT_EQ(finished.out + finished.err, expected);
  // The document went from the server into Word and back under a new name, unchanged.
  EXPECT_EQ(server.Document("/copy.rtf"), reportXml);
}

}  // namespace
}  // namespace penlark
