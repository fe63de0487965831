#include "word/writer/WriterWord.h"

#include "word/writer/WriterSession.h"

namespace penlark {

WriterWord::WriterWord(const WriterOptions& options)
    : session_(std::make_shared<WriterSession>(options)) {}

WriterWord::~WriterWord() = default;

int WriterWord::DocumentsCount() {
  return static_cast<int>(session_->Documents().size());
}

std::shared_ptr<WordDocument> WriterWord::DocumentsItem(int index) {
  const auto documents = session_->Documents();
  if (index < 1 || index > static_cast<int>(documents.size())) {
    throw WordError("The requested member of the collection does not exist.");
  }
  return documents[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<WordDocument> WriterWord::DocumentsOpen(const std::string& fileName) {
  return session_->Open(fileName);
}

std::shared_ptr<WordDocument> WriterWord::ActiveDocument() {
  return session_->Active();
}

void WriterWord::NewApplication() {
  session_->RestartIfGone();
}

void WriterWord::ActivateByRuntimeId(const std::string& id) {
  const auto document = session_->FindByRuntimeId(id);
  if (document == nullptr) {
    throw WordError("The document the command was chosen in is no longer open.");
  }
  document->Activate();
}

int WriterWord::OfficeProcessId() const {
  return session_->OfficeProcessId();
}

}  // namespace penlark
