#include "dialog/qt/QtServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace penlark::qt {
namespace {

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

QtPrompts::QtPrompts(std::function<void()> beforePrompt) : beforePrompt_(std::move(beforePrompt)) {}

MessageAnswer QtPrompts::ShowMessage(const Message& message) {
  if (beforePrompt_) {
    beforePrompt_();
  }
  const bool yesNo = message.buttons == MessageButtons::YesNo;
  QMessageBox box(
      message.icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
      ToQString(message.title), ToQString(message.text),
      yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
      QApplication::activeModalWidget());
  box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
  const int answer = box.exec();
  if (!yesNo) {
    return MessageAnswer::Ok;
  }
  return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string QtPrompts::InputBox(const InputRequest& request) {
  if (beforePrompt_) {
    beforePrompt_();
  }
  bool accepted = false;
  const QString text = QInputDialog::getText(
      QApplication::activeModalWidget(), ToQString(request.title), ToQString(request.prompt),
      QLineEdit::Normal, ToQString(request.defaultText), &accepted);
  return accepted ? text.toStdString() : std::string();
}

QtPointer::~QtPointer() {
  if (overriding_) {
    QGuiApplication::restoreOverrideCursor();
  }
}

void QtPointer::SetDefault() {
  busy_ = false;
  Apply();
}

void QtPointer::SetBusy() {
  busy_ = true;
  Apply();
}

void QtPointer::Hide() {
  hidden_ = true;
  Apply();
}

void QtPointer::Show() {
  hidden_ = false;
  Apply();
}

void QtPointer::Apply() {
  const bool wanted = busy_ || hidden_;
  const QCursor cursor(hidden_ ? Qt::BlankCursor : Qt::WaitCursor);
  if (wanted && overriding_) {
    QGuiApplication::changeOverrideCursor(cursor);
  } else if (wanted) {
    QGuiApplication::setOverrideCursor(cursor);
  } else if (overriding_) {
    QGuiApplication::restoreOverrideCursor();
  }
  overriding_ = wanted;
}

void QtShell::OpenWithDefaultHandler(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace penlark::qt
