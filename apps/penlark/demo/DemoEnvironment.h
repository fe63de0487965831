#pragma once

#include <filesystem>

// The demo's machine, all in one fresh temporary folder: an installation (work folder, the help
// page, the history folder), a settings file naming it, and a server root with sample folders
// and documents in the server's XML document form.
namespace penlark::cli {

class DemoEnvironment {
 public:
  // Throws std::runtime_error (or a filesystem error) when a part cannot be made.
  DemoEnvironment();
  // Removes the folder, unless Keep() was called.
  ~DemoEnvironment();
  DemoEnvironment(const DemoEnvironment&) = delete;
  DemoEnvironment& operator=(const DemoEnvironment&) = delete;

  void Keep() { keep_ = true; }

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path InstallPath() const { return folder_ / "penlark"; }
  std::filesystem::path RegistryFile() const { return folder_ / "registry.reg"; }
  std::filesystem::path ServerRoot() const { return folder_ / "server"; }

 private:
  std::filesystem::path folder_;
  bool keep_ = false;
};

}  // namespace penlark::cli
