#pragma once

#include "platform/Pointer.h"
#include "platform/Shell.h"

#include <string>
#include <vector>

namespace penlark::testing {

enum class PointerCall { SetDefault, SetBusy, Hide, Show };

// A pointer that remembers every call and the state they leave.
class RecordingPointer final : public Pointer {
 public:
  void SetDefault() override;
  void SetBusy() override;
  void Hide() override;
  void Show() override;

  const std::vector<PointerCall>& Calls() const { return calls_; }
  bool IsBusy() const { return busy_; }
  bool IsHidden() const { return hidden_; }

 private:
  std::vector<PointerCall> calls_;
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
