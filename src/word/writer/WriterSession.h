#pragma once

#include "word/writer/Office.h"
#include "word/writer/Uno.h"
#include "word/writer/WriterDocument.h"

#include <com/sun/star/frame/XModel.hpp>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace penlark {

// What a WriterWord and its documents share: the office, the documents handed out while they are
// open, and the document we made active last.
//
// That document is the active one while it is open. The desktop's own idea (its current
// component) follows window focus, which moves asynchronously after each activation and is empty
// for hidden documents and after the active one was closed: it is asked only when we have made
// no document active.
class WriterSession : public std::enable_shared_from_this<WriterSession> {
 public:
  explicit WriterSession(WriterOptions options);
  ~WriterSession();
  WriterSession(const WriterSession&) = delete;
  WriterSession& operator=(const WriterSession&) = delete;

  // The open text documents in the desktop's order, each as the one object it has while open.
  std::vector<std::shared_ptr<WriterDocument>> Documents();
  // The open document stored in the file at `path` (absolute and normal), if any.
  std::shared_ptr<WriterDocument> FindByFile(const std::filesystem::path& path);
  // Opens a file for editing, or activates the document that has it open already.
  std::shared_ptr<WriterDocument> Open(const std::string& fileName);
  // The document the user works in; raises WordError when none is open.
  std::shared_ptr<WriterDocument> Active();
  void SetActive(const uno::Reference<uno::css::frame::XModel>& model) { active_ = model; }
  // Activates the newest open document, if any.
  void ActivateNewest();
  // Takes a document that has just been closed out of the session.
  void Forget(WriterDocument& document);
  // Shows the window of every frame of the office.
  void ShowAllWindows();
  // Starts a new office in place of one that no longer answers.
  void RestartIfGone();

  int OfficeProcessId() const { return office_->ProcessId(); }

 private:
  std::shared_ptr<WriterDocument> Wrap(const uno::Reference<uno::css::frame::XModel>& model);
  void ForgetAll();

  WriterOptions options_;
  std::unique_ptr<Office> office_;
  std::vector<std::shared_ptr<WriterDocument>> handedOut_;
  uno::Reference<uno::css::frame::XModel> active_;
};

}  // namespace penlark
