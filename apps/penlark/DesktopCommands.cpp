// The operations a word-processor macro calls, run from the command line with the real dialog.

#include "Commands.h"
#include "DesktopComponent.h"
#include "DocumentReport.h"
#include "automation/Component.h"
#include "automation/Tarnwell.h"
#include "word/LocalWord.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace penlark::cli {
namespace {

using Operation = bool (Tarnwell::*)();

struct DesktopOptions {
  std::vector<std::string> documents;
  bool view = false;
};

constexpr std::string_view kOptionsHelp = R"(
  --document FILE   open this RTF file in the word processor first (repeatable; the last one
                    is the active document)
  --view            afterwards, open a document that was opened from the server with the
                    desktop's default handler
  --help            show this text

Afterwards the documents open in the word processor are listed with their files.
)";

std::optional<DesktopOptions> ParseOptions(Arguments args) {
  DesktopOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--document" && i + 1 < args.size()) {
      options.documents.emplace_back(args[++i]);
    } else if (args[i] == "--view") {
      options.view = true;
    } else {
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

int RunDesktopOperation(Arguments args, std::string_view name, std::string_view summary,
                        Operation operation) {
  if (args.size() == 1 && (args.front() == "--help" || args.front() == "-h")) {
    std::cout << "Usage: penlark " << name << " [--document FILE]... [--view]\n\n"
              << summary << '\n'
              << kOptionsHelp;
    return 0;
  }
  const auto options = ParseOptions(args);
  if (!options) {
    std::cerr << "Usage: penlark " << name << " [--document FILE]... [--view]\n";
    return 2;
  }
  int argc = 1;
  char programName[] = "penlark";
  char* argv[] = {programName, nullptr};
  QApplication application(argc, argv);
  auto word = std::make_shared<LocalWord>();
  int status = 0;
  try {
    for (const std::string& document : options->documents) {
      word->DocumentsOpen(std::filesystem::absolute(document).string());
    }
    const int countBefore = word->DocumentsCount();
    InstallDesktopComponent(word);
    Tarnwell tarnwell;
    (tarnwell.*operation)();
    if (options->view) {
      ViewNewDocuments(*word, countBefore);
    }
  } catch (const std::exception& error) {
    std::cerr << "penlark: " << error.what() << '\n';
    status = 1;
  }
  Component::EndCurrent();
  PrintDocuments(*word, std::cout);
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
