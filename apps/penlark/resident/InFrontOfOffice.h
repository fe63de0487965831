#pragma once

#include <memory>
#include <string>

#include <QObject>
#include <QRect>

class QWindow;

namespace penlark::cli {

// While it lives, every window Penlark shows (the dialog, its message boxes) comes up centred
// over the office window that asked for the operation and, on X11, as that window's transient,
// which keeps it in front of Writer. `window` is "ID,X,Y,WIDTH,HEIGHT" (see ResidentRequest);
// anything else leaves the windows where they would be.
class InFrontOfOffice : public QObject {
 public:
  explicit InFrontOfOffice(const std::string& window);
  ~InFrontOfOffice() override;
  InFrontOfOffice(const InFrontOfOffice&) = delete;
  InFrontOfOffice& operator=(const InFrontOfOffice&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QRect area_;
  std::unique_ptr<QWindow> office_;
};

}  // namespace penlark::cli
