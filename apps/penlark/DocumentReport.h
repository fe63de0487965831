#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace penlark {
class Word;
}

// What the word processor has open, for the programs to show.
namespace penlark::cli {

struct DocumentLine {
  std::string file;  // the document's file, its folder and name joined
  bool active = false;
};

// Raises WordError when the word processor fails.
std::vector<DocumentLine> OpenDocuments(Word& word);
// One line per document: its file, and "(active)" after the active one; or the word processor's
// failure.
void PrintDocuments(Word& word, std::ostream& out);

}  // namespace penlark::cli
