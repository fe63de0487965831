#pragma once

#include "WordChoice.h"

#include <string>

#include <QStringList>
#include <QWidget>

class QListWidget;

namespace penlark {
class Tarnwell;
}  // namespace penlark

// The demo's own window: what to type to log in, the operations a word-processor macro would
// call, the documents the word processor has open, and the server's folders as they change. A
// word processor with windows of its own may open and close documents at any time: the list
// follows it.
namespace penlark::cli {

class DemoWindow final : public QWidget {
 public:
  DemoWindow(const std::string& serverText, const std::string& serverRoot,
             const DesktopWord& desktop);

  // Shows the Open dialog, as the demo does first.
  void OpenFromServer();

 private:
  void Run(bool (Tarnwell::*operation)());
  void ShowDocuments();
  void ShowActiveDocument();

  DesktopWord desktop_;
  QListWidget* documents_ = nullptr;
  QStringList shownDocuments_;
};

}  // namespace penlark::cli
