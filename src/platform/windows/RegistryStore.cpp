#include "platform/Registry.h"
#include "platform/windows/WideText.h"

#include <windows.h>

namespace penlark {
namespace {

// Closes an open registry key when it goes out of scope.
class OpenKey {
 public:
  explicit OpenKey(HKEY key) : key_(key) {}
  ~OpenKey() { ::RegCloseKey(key_); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  HKEY Get() const { return key_; }

 private:
  HKEY key_;
};

// Every value of an open key, as the registry holds it.
std::map<std::string, RegistryValue> ValuesOf(HKEY key) {
  DWORD count = 0;
  DWORD longestName = 0;
  DWORD longestData = 0;
  std::map<std::string, RegistryValue> values;
  if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
    return values;
  }
  std::wstring name(longestName + 1, L'\0');
  for (DWORD index = 0; index < count; ++index) {
    auto nameSize = static_cast<DWORD>(name.size());
    DWORD type = 0;
    DWORD dataSize = longestData;
    RegistryValue value;
    value.data.resize(longestData);
    if (::RegEnumValueW(key, index, name.data(), &nameSize, nullptr, &type, value.data.data(),
                        &dataSize) != ERROR_SUCCESS) {
      continue;
    }
    value.type = type;
    value.data.resize(dataSize);
    values[RegistryName(ToUtf8({name.data(), nameSize}))] = std::move(value);
  }
  return values;
}

}  // namespace

// A snapshot of the key's values, read with the registry's own calls; QueryRegistryValue then
// applies the same type rules as to the settings file.
RegistryKey RegistryKey::OpenLocalMachine(std::string_view keyPath) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToWide(keyPath).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return {};
  }
  const OpenKey open(key);
  return Holding(ValuesOf(open.Get()));
}

}  // namespace penlark
