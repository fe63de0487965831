#pragma once

#include "support/TempDir.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace penlark::testing {

// Machine settings from a settings file's text: in the registry on Windows (removed at the end),
// elsewhere a file that $PENLARK_REGISTRY names.
class MachineSettings {
 public:
  explicit MachineSettings(std::string_view settingsFile);
  ~MachineSettings();
  MachineSettings(const MachineSettings&) = delete;
  MachineSettings& operator=(const MachineSettings&) = delete;

  void Replace(std::string_view settingsFile);

 private:
  void Remove();  // the keys written into the registry

  TempDir dir_;
  std::optional<ScopedEnv> env_;
  std::vector<std::string> keys_;  // those written into the registry, below HKEY_LOCAL_MACHINE
};

}  // namespace penlark::testing
