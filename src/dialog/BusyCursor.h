#pragma once

#include "dialog/OpenDialog.h"

namespace penlark {

// Shows the hourglass for a long operation of the dialog and takes it back on every path out of
// it, including an error raised by the word processor or the file system.
class BusyCursor {
 public:
  explicit BusyCursor(OpenDialog& dialog) : dialog_(dialog) { dialog_.SetMouseCursor(1); }
  ~BusyCursor() {
    if (busy_) {
      dialog_.SetMouseCursor(0);
    }
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  // Takes the hourglass back now.
  void Restore() {
    dialog_.SetMouseCursor(0);
    busy_ = false;
  }

 private:
  OpenDialog& dialog_;
  bool busy_ = true;
};

}  // namespace penlark
