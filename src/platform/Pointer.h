#pragma once

// The mouse pointer of the whole application. Not counted: one SetDefault ends any number of
// SetBusy, and one Show any number of Hide.
namespace penlark {

class Pointer {
 public:
  virtual ~Pointer() = default;

  virtual void SetDefault() = 0;
  virtual void SetBusy() = 0;
  virtual void Hide() = 0;
  virtual void Show() = 0;
};

}  // namespace penlark
