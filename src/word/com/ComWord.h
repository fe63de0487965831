#pragma once

#include "word/Word.h"
#include "word/com/Dispatch.h"

#include <memory>
#include <string>
#include <vector>

// The word processor as Word, driven over COM through its automation object model. The
// application is started on first use and kept; its documents are to be released before it.
namespace penlark {

class ComWord final : public Word {
 public:
  static constexpr const char* kProgId = "Word.Application";

  // Enters the thread's single-threaded apartment. Word is the application registered as `progId`;
  // the first use raises WordError when none is registered.
  explicit ComWord(std::string progId = kProgId);
  ~ComWord() override;
  ComWord(const ComWord&) = delete;
  ComWord& operator=(const ComWord&) = delete;

  int DocumentsCount() override;
  std::shared_ptr<WordDocument> DocumentsItem(int index) override;
  std::shared_ptr<WordDocument> DocumentsOpen(const std::string& fileName) override;
  std::shared_ptr<WordDocument> ActiveDocument() override;
  void NewApplication() override;

 private:
  class Document;

  // The same WordDocument for the same document object while it is in use.
  std::shared_ptr<WordDocument> DocumentOf(const Variant& object);
  ComObject& Application();
  ComObject Documents();

  std::string progId_;
  bool ownsApartment_ = false;
  ComObject application_;
  std::vector<std::weak_ptr<Document>> known_;
};

}  // namespace penlark
