#pragma once

#include <memory>
#include <stdexcept>
#include <string>

// The word processor, as far as Penlark drives it: its open documents, opening a file, saving
// a document as RTF, closing and activating it, and showing the application.
namespace penlark {

// A failure reported by the word processor, carrying its own message.
class WordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file format code of SaveAs for Rich Text Format.
inline constexpr int kWordFormatRtf = 6;

// The message of the failure to reach the active document when no document is open.
inline constexpr const char* kNoDocumentMessage =
    "This command is not available because no document is open.";

// One open document. Operations on a document that has been closed raise WordError.
class WordDocument {
 public:
  virtual ~WordDocument() = default;

  // The file name without its folder; after SaveAs, the new file's name.
  virtual std::string Name() = 0;
  // The folder of the document's file, without a trailing separator.
  virtual std::string Path() = 0;
  // Writes the document to `fileName` (a full path) in `fileFormat`; from then on the document
  // is that file.
  virtual void SaveAs(const std::string& fileName, int fileFormat) = 0;
  // Closes the document; the word processor asks about unsaved changes itself.
  virtual void Close() = 0;
  // Makes the document the active one, its window in front.
  virtual void Activate() = 0;
  // Shows the word processor's window (Application.Visible = True).
  virtual void ShowApplication() = 0;
};

class Word {
 public:
  virtual ~Word() = default;

  // Documents.Count: how many documents are open.
  virtual int DocumentsCount() = 0;
  // Documents.Item: the document at a 1-based position, 1 to DocumentsCount().
  virtual std::shared_ptr<WordDocument> DocumentsItem(int index) = 0;
  // Documents.Open: opens a file (full path) for editing, not read-only.
  virtual std::shared_ptr<WordDocument> DocumentsOpen(const std::string& fileName) = 0;
  // The document the user works in; raises WordError when none is open.
  virtual std::shared_ptr<WordDocument> ActiveDocument() = 0;
  // Starts a new instance of the application (the open flow's retry after a failed open).
  virtual void NewApplication() = 0;
};

}  // namespace penlark
