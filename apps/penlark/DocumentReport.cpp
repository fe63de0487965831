#include "DocumentReport.h"

#include "word/Word.h"

namespace penlark::cli {
namespace {

std::string FileOf(WordDocument& document) {
  const std::string folder = document.Path();
  return folder.empty() ? document.Name() : folder + "/" + document.Name();
}

}  // namespace

std::vector<DocumentLine> OpenDocuments(Word& word) {
  std::vector<DocumentLine> lines;
  const int count = word.DocumentsCount();
  if (count == 0) {
    return lines;
  }
  const auto active = word.ActiveDocument();
  for (int i = 1; i <= count; ++i) {
    const auto document = word.DocumentsItem(i);
    lines.push_back({FileOf(*document), document == active});
  }
  return lines;
}

void PrintDocuments(Word& word, std::ostream& out) {
  std::vector<DocumentLine> lines;
  try {
    lines = OpenDocuments(word);
  } catch (const WordError& error) {
    out << "The word processor does not answer: " << error.what() << '\n';
    return;
  }
  out << (lines.empty() ? "No document is open.\n" : "Documents open:\n");
  for (const DocumentLine& line : lines) {
    out << "  " << line.file << (line.active ? "   (active)" : "") << '\n';
  }
}

}  // namespace penlark::cli
