#include "WordChoice.h"

#include "word/LocalWord.h"

#ifdef PENLARK_WITH_WRITER
#include "word/writer/Writer.h"

#include <cstdlib>
#endif

namespace penlark::cli {
namespace {

constexpr const char* kStandInName = "the stand-in word processor";
constexpr const char* kWriterName = "LibreOffice Writer";

DesktopWord StandIn() {
  return {std::make_shared<LocalWord>(), kStandInName, false};
}

#ifdef PENLARK_WITH_WRITER

// Visible on the user's X display; headless where there is none (scripts, tests).
DesktopWord Writer() {
  const char* display = std::getenv("DISPLAY");
  WriterOptions options;
  options.visible = display != nullptr && *display != '\0';
  return {StartWriter(options), kWriterName, options.visible};
}

DesktopWord StartChosen(WordChoice choice, std::ostream& messages) {
  if (!IsWriterInstalled()) {
    if (choice == WordChoice::Writer) {
      throw WordError(std::string(kWriterName) + " is not installed.");
    }
    return StandIn();
  }
  if (choice == WordChoice::Writer) {
    return Writer();
  }
  try {
    return Writer();
  } catch (const WordError& error) {
    messages << "penlark: " << kWriterName << " could not be started (" << error.what()
             << "); using " << kStandInName << ".\n";
    return StandIn();
  }
}
#else
DesktopWord StartChosen(WordChoice choice, std::ostream&) {
  if (choice == WordChoice::Writer) {
    throw WordError(std::string("This penlark was built without ") + kWriterName +
                    " (its SDK was missing).");
  }
  return StandIn();
}
#endif

}  // namespace

bool ReadWordOption(std::string_view argument, WordChoice& choice) {
  if (argument == "--word=local") {
    choice = WordChoice::Local;
  } else if (argument == "--word=writer") {
    choice = WordChoice::Writer;
  } else {
    return false;
  }
  return true;
}

std::optional<DesktopWord> StartWordProcessor(WordChoice choice, std::ostream& messages) {
  if (choice == WordChoice::Local) {
    return StandIn();
  }
  try {
    return StartChosen(choice, messages);
  } catch (const WordError& error) {
    messages << "penlark: " << error.what() << '\n';
    return std::nullopt;
  }
}

}  // namespace penlark::cli
