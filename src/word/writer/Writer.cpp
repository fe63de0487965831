#include "word/writer/Writer.h"

#include "word/writer/Office.h"
#include "word/writer/WriterWord.h"

namespace penlark {

bool IsWriterInstalled(const WriterOptions& options) {
  const auto programDir = OfficeProgramDir(options);
  std::error_code ignored;
  return std::filesystem::is_regular_file(programDir / "soffice.bin", ignored) &&
         std::filesystem::is_regular_file(programDir / "fundamentalrc", ignored);
}

std::unique_ptr<Word> StartWriter(const WriterOptions& options) {
  return std::make_unique<WriterWord>(options);
}

}  // namespace penlark
