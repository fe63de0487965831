#include "support/MachineSettings.h"

#include "platform/Registry.h"

#ifdef _WIN32
#include "platform/windows/WideText.h"

#include <windows.h>
#endif

namespace penlark::testing {

MachineSettings::MachineSettings(std::string_view settingsFile) {
  Replace(settingsFile);
}

#ifdef _WIN32

MachineSettings::~MachineSettings() {
  Remove();
}

void MachineSettings::Remove() {
  for (const std::string& key : keys_) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, ToWide(key).c_str());
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, ToWide(key).c_str());
  }
  keys_.clear();
}

void MachineSettings::Replace(std::string_view settingsFile) {
  constexpr std::string_view kLocalMachine = "hkey_local_machine\\";
  Remove();
  const RegistryTree tree = RegistryTree::Parse(settingsFile);
  for (const auto& [path, values] : tree.AllKeys()) {
    if (!path.starts_with(kLocalMachine)) {
      continue;
    }
    HKEY key = nullptr;
    keys_.push_back(path.substr(kLocalMachine.size()));
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, ToWide(keys_.back()).c_str(), 0, nullptr, 0,
                          KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      throw std::runtime_error("cannot create the registry key " + path);
    }
    for (const auto& [name, value] : values) {
      ::RegSetValueExW(key, ToWide(name).c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    }
    ::RegCloseKey(key);
  }
}

#else

MachineSettings::~MachineSettings() = default;

void MachineSettings::Replace(std::string_view settingsFile) {
  WriteFile(dir_ / "registry.reg", settingsFile);
  if (!env_) {
    env_.emplace("PENLARK_REGISTRY", (dir_ / "registry.reg").string());
  }
}

#endif

}  // namespace penlark::testing
