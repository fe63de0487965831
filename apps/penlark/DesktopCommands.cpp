// The operations a word-processor macro calls, run from the command line with the real dialog.

#include "Commands.h"
#include "DesktopComponent.h"
#include "DocumentReport.h"
#include "QuitOnSignals.h"
#include "WordChoice.h"
#include "automation/Tarnwell.h"
#include "word/Word.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QDesktopServices>
#include <QTimer>
#include <QUrl>

namespace penlark::cli {
namespace {

using Operation = bool (Tarnwell::*)();

struct DesktopOptions {
  std::vector<std::string> documents;
  bool view = false;
  WordChoice word = WordChoice::Automatic;
};

constexpr std::string_view kOptionsHelp = R"(
  --document FILE   open this RTF file in the word processor first (repeatable; the last one
                    is the active document)
  --view            afterwards, open a document that was opened from the server with the
                    desktop's default handler (the stand-in word processor shows none itself)
  --word=writer     drive LibreOffice Writer (an error when it is not installed)
  --word=local      drive the stand-in word processor, which holds documents in memory
  --help            show this text

Without --word, LibreOffice Writer is used when it is installed. Afterwards the documents open
in the word processor are listed with their files. Writer shows them in its own windows (it runs
headless without an X display) and ends with penlark: penlark then waits until they are closed
(or until it is interrupted).
)";

std::optional<DesktopOptions> ParseOptions(Arguments args) {
  DesktopOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--document" && i + 1 < args.size()) {
      options.documents.emplace_back(args[++i]);
    } else if (args[i] == "--view") {
      options.view = true;
    } else if (!ReadWordOption(args[i], options.word)) {
      return std::nullopt;
    }
  }
  return options;
}

// Opens with the desktop's handler the documents that the operation opened.
void ViewNewDocuments(Word& word, int countBefore) {
  const auto lines = OpenDocuments(word);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (static_cast<int>(i) >= countBefore) {
      QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(lines[i].file)));
    }
  }
}

// Runs the operation on a desktop component over the word processor; the exit status.
int RunOperation(const DesktopOptions& options, const DesktopWord& desktop, Operation operation) {
  Word& word = *desktop.word;
  const DesktopComponent component(desktop.word);
  try {
    for (const std::string& document : options.documents) {
      word.DocumentsOpen(std::filesystem::absolute(document).string());
    }
    const int countBefore = word.DocumentsCount();
    Tarnwell tarnwell;
    (tarnwell.*operation)();
    if (options.view && !desktop.showsDocuments) {
      ViewNewDocuments(word, countBefore);
    }
  } catch (const std::exception& error) {
    std::cerr << "penlark: " << error.what() << '\n';
    return 1;
  }
  return 0;
}

// Whether the word processor has documents open; false when it no longer answers.
bool HasDocuments(Word& word) {
  try {
    return word.DocumentsCount() > 0;
  } catch (const WordError&) {
    return false;
  }
}

// The office ends with this program: while it shows documents, wait for the user to close them.
void WaitWhileDocumentsAreShown(const DesktopWord& desktop) {
  if (!desktop.showsDocuments || !HasDocuments(*desktop.word)) {
    return;
  }
  std::cout << "penlark ends when these documents are closed in " << desktop.name
            << " (or on Ctrl+C).\n"
            << std::flush;
  const QuitOnSignals quitOnSignals;
  QTimer poll;
  poll.callOnTimeout([&] {
    if (!HasDocuments(*desktop.word)) {
      QApplication::quit();
    }
  });
  poll.start(500);
  QApplication::exec();
}

int RunDesktopOperation(Arguments args, std::string_view name, std::string_view summary,
                        Operation operation) {
  constexpr std::string_view kSynopsis = " [--document FILE]... [--view] [--word=writer|local]";
  if (args.size() == 1 && (args.front() == "--help" || args.front() == "-h")) {
    std::cout << "Usage: penlark " << name << kSynopsis << "\n\n"
              << summary << '\n'
              << kOptionsHelp;
    return 0;
  }
  const auto options = ParseOptions(args);
  if (!options) {
    std::cerr << "Usage: penlark " << name << kSynopsis << '\n';
    return 2;
  }
  int argc = 1;
  char programName[] = "penlark";
  char* argv[] = {programName, nullptr};
  QApplication application(argc, argv);
  auto desktop = StartWordProcessor(options->word, std::cerr);
  if (!desktop) {
    return 1;
  }
  if (options->view && desktop->showsDocuments) {
    std::cerr << "penlark: --view is not needed: " << desktop->name
              << " shows the documents itself.\n";
  }
  const int status = RunOperation(*options, *desktop, operation);
  PrintDocuments(*desktop->word, std::cout);
  WaitWhileDocumentsAreShown(*desktop);
  return status;
}

}  // namespace

int RunOpen(Arguments args) {
  return RunDesktopOperation(args, "open", "Shows the dialog in Open mode (XMLOpen).",
                             &Tarnwell::XMLOpen);
}

int RunSaveAs(Arguments args) {
  return RunDesktopOperation(args, "saveas",
                             "Shows the dialog in Save mode for the active document (XMLSaveAs).",
                             &Tarnwell::XMLSaveAs);
}

int RunSave(Arguments args) {
  return RunDesktopOperation(args, "save", "The same as saveas (XMLSave).", &Tarnwell::XMLSave);
}

int RunClose(Arguments args) {
  return RunDesktopOperation(args, "close", "Closes the active document (XMLClose).",
                             &Tarnwell::XMLClose);
}

int RunHelp(Arguments args) {
  return RunDesktopOperation(args, "help", "Opens the installed help page (XMLHelp).",
                             &Tarnwell::XMLHelp);
}

int RunNew(Arguments args) {
  return RunDesktopOperation(args, "new", "Does nothing (XMLNew).", &Tarnwell::XMLNew);
}

int RunWordClose(Arguments args) {
  return RunDesktopOperation(args, "wordclose",
                             "Loads the dialog and reads the active document's name (WordClose).",
                             &Tarnwell::WordClose);
}

}  // namespace penlark::cli
