#pragma once

#include "word/Word.h"
#include "word/writer/Writer.h"

#include <memory>
#include <string>

namespace penlark {

class WriterSession;

// The word processor as a Writer of Penlark's own (see StartWriter). Its documents are the text
// documents of the office's desktop, in the desktop's order (the most recently opened first),
// whoever opened them; the same document is always the same WordDocument object while it is open.
class WriterWord final : public Word {
 public:
  explicit WriterWord(const WriterOptions& options = {});
  ~WriterWord() override;
  WriterWord(const WriterWord&) = delete;
  WriterWord& operator=(const WriterWord&) = delete;

  int DocumentsCount() override;
  std::shared_ptr<WordDocument> DocumentsItem(int index) override;
  std::shared_ptr<WordDocument> DocumentsOpen(const std::string& fileName) override;
  std::shared_ptr<WordDocument> ActiveDocument() override;
  // Starts a new office when the running one no longer answers (it crashed or was quit); an
  // office that answers is kept with its documents.
  void NewApplication() override;

  // Makes the open document whose RuntimeUID is `id` the active one; raises WordError when it is
  // no longer open.
  void ActivateByRuntimeId(const std::string& id);

  // The process id of the office now running.
  int OfficeProcessId() const;

 private:
  std::shared_ptr<WriterSession> session_;
};

}  // namespace penlark
