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
// open, and the active document.
//
// The active document is the one we made active last, unless the user has since brought another
// document's window to the front. The desktop's own idea (its active frame) follows window focus:
// it moves asynchronously after each activation, and is empty for hidden documents and after the
// active one was closed. So it counts only when it has changed to another document since we last
// looked, or when we have made no document active.
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
  // The open document whose RuntimeUID is `id`, if any.
  std::shared_ptr<WriterDocument> FindByRuntimeId(const std::string& id);
  // Opens a file for editing, or activates the document that has it open already.
  std::shared_ptr<WriterDocument> Open(const std::string& fileName);
  // The document the user works in; raises WordError when none is open.
  std::shared_ptr<WriterDocument> Active();
  // Makes the document of `model` the active one; its window has just been brought to the front.
  void SetActive(const uno::Reference<uno::css::frame::XModel>& model);
  // Activates the newest open document, if any.
  void ActivateNewest();
  // Takes a document that has just been closed out of the session.
  void Forget(WriterDocument& document);
  // Shows the window of every frame of the office.
  void ShowAllWindows();
  // Starts a new office in place of one of our own that no longer answers; raises WordError when
  // the user's office we attached to has ended.
  void RestartIfGone();

  int OfficeProcessId() const { return office_->ProcessId(); }

 private:
  std::shared_ptr<WriterDocument> Wrap(const uno::Reference<uno::css::frame::XModel>& model);
  void ForgetAll();
  // The document of the desktop's active frame; empty when there is none.
  uno::Reference<uno::css::frame::XModel> FrontModel();

  WriterOptions options_;
  std::unique_ptr<Office> office_;
  std::vector<std::shared_ptr<WriterDocument>> handedOut_;
  uno::Reference<uno::css::frame::XModel> active_;
  // The desktop's active document when we last looked.
  uno::Reference<uno::css::frame::XModel> frontSeen_;
};

}  // namespace penlark
