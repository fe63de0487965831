#include "support/RecordingServices.h"

namespace penlark::testing {

void RecordingPointer::SetDefault() {
  calls_.push_back(PointerCall::SetDefault);
  busy_ = false;
}

void RecordingPointer::SetBusy() {
  calls_.push_back(PointerCall::SetBusy);
  busy_ = true;
}

void RecordingPointer::Hide() {
  calls_.push_back(PointerCall::Hide);
  hidden_ = true;
}

void RecordingPointer::Show() {
  calls_.push_back(PointerCall::Show);
  hidden_ = false;
}

}  // namespace penlark::testing
