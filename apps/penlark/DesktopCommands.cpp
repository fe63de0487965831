// The operations a word-processor macro calls, run from the command line with the real dialog.

#include "Commands.h"
#include "DesktopComponent.h"
#include "DesktopOperations.h"
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

#ifdef PENLARK_WITH_WRITER
#include "resident/ResidentClient.h"
#include "word/writer/RunningOffice.h"
#endif

namespace penlark::cli {
namespace {

struct DesktopOptions {
  std::vector<std::string> documents;
  bool view = false;
  WordChoice word = WordChoice::Automatic;
  std::filesystem::path profile;
  std::string fromDocument;
  std::string window;
};

constexpr std::string_view kOptionsHelp = R"(
  --document FILE   open this RTF file in the word processor first (repeatable; the last one
                    is the active document)
  --view            afterwards, open a document that was opened from the server with the
                    desktop's default handler (the stand-in word processor shows none itself)
  --word=writer     drive LibreOffice Writer (an error when it is not installed)
  --word=local      drive the stand-in word processor, which holds documents in memory
  --profile DIR     the LibreOffice profile of the office to act on (default: the user's own,
                    $XDG_CONFIG_HOME/libreoffice/4)
  --from-document ID  act on the running office's document with this RuntimeUID, made the
                    active one (the Tarnwell menu passes the document it was chosen in)
  --window ID,X,Y,WIDTH,HEIGHT
                    show the dialog in front of this X11 window of the running office, centred
                    over its area on the screen (the Tarnwell menu passes its window)
  --help            show this text

Without --word, LibreOffice Writer is used when it is installed. When an office of yours runs on
the profile, the operation acts on it: on its windows and documents, through the Penlark that
stays with that office until it ends (and keeps the login and the document's folder between
commands). Otherwise penlark starts an office of its own. Afterwards the documents open in the
word processor are listed with their files. An office of penlark's own shows them in its windows
(it runs headless without an X display) and ends with penlark: penlark then waits until they are
closed (or until it is interrupted). Penlark never ends an office you started.
)";

std::optional<DesktopOptions> ParseOptions(Arguments args) {
  DesktopOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--document" && i + 1 < args.size()) {
      options.documents.emplace_back(args[++i]);
    } else if (args[i] == "--view") {
      options.view = true;
    } else if (args[i] == "--profile" && i + 1 < args.size()) {
      options.profile = std::filesystem::absolute(args[++i]);
    } else if (args[i] == "--from-document" && i + 1 < args.size()) {
      options.fromDocument = args[++i];
    } else if (args[i] == "--window" && i + 1 < args.size()) {
      options.window = args[++i];
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
int RunOperation(const DesktopOptions& options, const DesktopWord& desktop,
                 const DesktopOperation& operation) {
  Word& word = *desktop.word;
  const DesktopComponent component(desktop.word);
  try {
    for (const std::string& document : options.documents) {
      word.DocumentsOpen(std::filesystem::absolute(document).string());
    }
    const int countBefore = word.DocumentsCount();
    Tarnwell tarnwell;
    (tarnwell.*operation.run)();
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

#ifdef PENLARK_WITH_WRITER
// The profile of the user's office the operation acts on, when one runs.
std::optional<std::filesystem::path> RunningOfficeProfile(const DesktopOptions& options) {
  if (options.word == WordChoice::Local) {
    return std::nullopt;
  }
  const auto profile = options.profile.empty() ? DefaultOfficeProfile() : options.profile;
  if (!FindRunningOffice(profile)) {
    return std::nullopt;
  }
  return profile;
}

std::optional<int> RunInRunningOffice(const DesktopOptions& options,
                                      const DesktopOperation& operation) {
  const auto profile = RunningOfficeProfile(options);
  if (!profile) {
    return std::nullopt;
  }
  ResidentRequest request{.operation = std::string(operation.name),
                          .fromDocument = options.fromDocument,
                          .window = options.window};
  for (const std::string& document : options.documents) {
    request.documents.push_back(std::filesystem::absolute(document).string());
  }
  return HandToResident(*profile, request);
}
#else
std::optional<int> RunInRunningOffice(const DesktopOptions&, const DesktopOperation&) {
  return std::nullopt;
}
#endif

int RunDesktopOperation(Arguments args, std::string_view name) {
  const DesktopOperation& operation = *FindDesktopOperation(name);
  constexpr std::string_view kSynopsis =
      " [--document FILE]... [--view] [--word=writer|local] [--profile DIR]";
  if (args.size() == 1 && (args.front() == "--help" || args.front() == "-h")) {
    std::cout << "Usage: penlark " << name << kSynopsis << "\n\n"
              << operation.summary << '\n'
              << kOptionsHelp;
    return 0;
  }
  const auto options = ParseOptions(args);
  if (!options) {
    std::cerr << "Usage: penlark " << name << kSynopsis << '\n';
    return 2;
  }
  if (const auto status = RunInRunningOffice(*options, operation)) {
    return *status;
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
  return RunDesktopOperation(args, "open");
}

int RunSaveAs(Arguments args) {
  return RunDesktopOperation(args, "saveas");
}

int RunSave(Arguments args) {
  return RunDesktopOperation(args, "save");
}

int RunClose(Arguments args) {
  return RunDesktopOperation(args, "close");
}

int RunHelp(Arguments args) {
  return RunDesktopOperation(args, "help");
}

int RunNew(Arguments args) {
  return RunDesktopOperation(args, "new");
}

int RunWordClose(Arguments args) {
  return RunDesktopOperation(args, "wordclose");
}

}  // namespace penlark::cli
