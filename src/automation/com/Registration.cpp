#include "automation/com/Registration.h"

#include "Penlark.h"
#include "automation/com/Module.h"

#include <array>
#include <oleauto.h>
#include <olectl.h>
#include <string>
#include <wrl/client.h>

namespace penlark::com {
namespace {

const HKEY kClassesRoot = HKEY_LOCAL_MACHINE;
constexpr std::wstring_view kClasses = L"Software\\Classes\\";

struct Entry {
  std::wstring key;
  std::wstring name;
  std::wstring value;
};

std::wstring GuidText(REFGUID guid) {
  std::array<wchar_t, 39> text{};
  ::StringFromGUID2(guid, text.data(), static_cast<int>(text.size()));
  return text.data();
}

std::wstring ClassKey() {
  return std::wstring(kClasses) + L"CLSID\\" + GuidText(CLSID_Tarnwell);
}

std::wstring ProgIdKey() {
  return std::wstring(kClasses) + std::wstring(kProgId);
}

std::array<Entry, 8> Entries(const std::wstring& file) {
  const std::wstring classKey = ClassKey();
  const std::wstring progId(kProgId);
  return {{{classKey, L"", progId},
           {classKey + L"\\InprocServer32", L"", file},
           {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
           {classKey + L"\\ProgID", L"", progId},
           {classKey + L"\\TypeLib", L"", GuidText(LIBID_Penlark)},
           {classKey + L"\\VERSION", L"", L"1.0"},
           {ProgIdKey(), L"", progId},
           {ProgIdKey() + L"\\CLSID", L"", GuidText(CLSID_Tarnwell)}}};
}

LSTATUS Write(const Entry& entry) {
  HKEY key = nullptr;
  LSTATUS status = ::RegCreateKeyExW(kClassesRoot, entry.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) {
    return status;
  }
  const auto bytes = static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t));
  status = ::RegSetValueExW(key, entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(entry.value.c_str()), bytes);
  ::RegCloseKey(key);
  return status;
}

// The file the class is registered for; "" when it is not registered.
std::wstring RegisteredFile() {
  const std::wstring key = ClassKey() + L"\\InprocServer32";
  DWORD bytes = 0;
  if (::RegGetValueW(kClassesRoot, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::wstring file(bytes / sizeof(wchar_t), L'\0');
  if (::RegGetValueW(kClassesRoot, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, file.data(),
                     &bytes) != ERROR_SUCCESS) {
    return {};
  }
  file.resize(bytes / sizeof(wchar_t) - 1);
  return file;
}

bool SameFile(const std::wstring& one, const std::wstring& other) {
  return ::CompareStringOrdinal(one.c_str(), static_cast<int>(one.size()), other.c_str(),
                                static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
}

void RemoveClassEntries() {
  ::RegDeleteTreeW(kClassesRoot, ClassKey().c_str());
  ::RegDeleteTreeW(kClassesRoot, ProgIdKey().c_str());
}

HRESULT RegisterTypeLibrary(std::wstring file) {
  Microsoft::WRL::ComPtr<ITypeLib> library;
  HRESULT result = LoadOwnTypeLibrary(&library);
  if (SUCCEEDED(result)) {
    result = ::RegisterTypeLib(library.Get(), file.data(), nullptr);
  }
  return result;
}

constexpr SYSKIND kThisSystem = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

}  // namespace

HRESULT RegisterServer() {
  const std::wstring file = ModulePath();
  for (const Entry& entry : Entries(file)) {
    if (const LSTATUS status = Write(entry); status != ERROR_SUCCESS) {
      RemoveClassEntries();
      return HRESULT_FROM_WIN32(static_cast<unsigned long>(status));
    }
  }
  const HRESULT result = RegisterTypeLibrary(file);
  if (FAILED(result)) {
    RemoveClassEntries();
  }
  return result;
}

HRESULT UnregisterServer() {
  const std::wstring registered = RegisteredFile();
  if (registered.empty()) {
    return S_FALSE;
  }
  if (!SameFile(registered, ModulePath())) {
    return SELFREG_E_CLASS;
  }
  ::UnRegisterTypeLib(LIBID_Penlark, 1, 0, LOCALE_NEUTRAL, kThisSystem);
  RemoveClassEntries();
  return S_OK;
}

}  // namespace penlark::com
