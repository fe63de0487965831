#pragma once

#include "platform/Pointer.h"
#include "platform/Shell.h"

#include <string>
#include <vector>

namespace penlark::testing {

// A pointer that remembers the state its calls leave.
class RecordingPointer final : public Pointer {
 public:
  void SetDefault() override { busy_ = false; }
  void SetBusy() override { busy_ = true; }
  void Hide() override { hidden_ = true; }
  void Show() override { hidden_ = false; }

  bool IsBusy() const { return busy_; }
  bool IsHidden() const { return hidden_; }

 private:
  bool busy_ = false;
  bool hidden_ = false;
};

// A shell that remembers the paths it was asked to open, and opens nothing.
class RecordingShell final : public Shell {
 public:
  void OpenWithDefaultHandler(const std::string& path) override { opened_.push_back(path); }

  const std::vector<std::string>& Opened() const { return opened_; }

 private:
  std::vector<std::string> opened_;
};

}  // namespace penlark::testing
