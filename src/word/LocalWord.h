#pragma once

#include "word/Word.h"

#include <memory>
#include <string>
#include <vector>

// The stand-in word processor: documents are RTF files held open in memory. Opening reads the
// file, SaveAs in RTF writes the held bytes to the new path and binds the document to it.
namespace penlark {

class LocalWord final : public Word {
 public:
  static constexpr const char* kNoDocumentMessage = penlark::kNoDocumentMessage;

  LocalWord();
  ~LocalWord() override;

  int DocumentsCount() override;
  std::shared_ptr<WordDocument> DocumentsItem(int index) override;
  std::shared_ptr<WordDocument> DocumentsOpen(const std::string& fileName) override;
  std::shared_ptr<WordDocument> ActiveDocument() override;
  void NewApplication() override;

  // Opens a document that is not read from disk, as if it had been typed in: `fileName` is
  // the file it is bound to ("Document1" for one never saved, whose Path() is then "").
  std::shared_ptr<WordDocument> AddDocument(const std::string& fileName, std::string rtf);

  // Whether a document has asked for the application's window to be shown.
  bool IsVisible() const;
  // How many times NewApplication has been called.
  int NewApplicationCount() const;

 private:
  class Document;
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace penlark
