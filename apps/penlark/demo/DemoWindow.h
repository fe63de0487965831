#pragma once

#include <memory>
#include <string>

#include <QWidget>

class QLabel;
class QListWidget;

namespace penlark {
class Tarnwell;
class Word;
}  // namespace penlark

// The demo's own window: what to type to log in, the operations a word-processor macro would
// call, the documents the word processor has open, and the server's folders as they change.
namespace penlark::cli {

class DemoWindow final : public QWidget {
 public:
  DemoWindow(const std::string& serverText, const std::string& serverRoot,
             std::shared_ptr<Word> word);

  // Shows the Open dialog, as the demo does first.
  void OpenFromServer();

 private:
  void Run(bool (Tarnwell::*operation)());
  void ShowDocuments();
  void ViewActiveDocument();

  std::shared_ptr<Word> word_;
  QListWidget* documents_ = nullptr;
};

}  // namespace penlark::cli
