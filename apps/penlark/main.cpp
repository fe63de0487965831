// penlark: the command-line entry to Penlark.

#include "Commands.h"
#include "platform/ProgramArguments.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

struct Command {
  std::string_view name;
  int (*run)(penlark::cli::Arguments);
};

constexpr std::array kCommands = {
#ifdef PENLARK_WITH_DESKTOP
    Command{"demo", penlark::cli::RunDemo},
    Command{"open", penlark::cli::RunOpen},
    Command{"saveas", penlark::cli::RunSaveAs},
    Command{"save", penlark::cli::RunSave},
    Command{"close", penlark::cli::RunClose},
    Command{"help", penlark::cli::RunHelp},
    Command{"new", penlark::cli::RunNew},
    Command{"wordclose", penlark::cli::RunWordClose},
#endif
#ifndef _WIN32
    Command{"settings", penlark::cli::RunSettings},
#endif
    Command{"ls", penlark::cli::RunList},
    Command{"get", penlark::cli::RunGet},
    Command{"put", penlark::cli::RunPut},
    Command{"rm", penlark::cli::RunRemove},
    Command{"mkdir", penlark::cli::RunMakeFolder},
#ifdef PENLARK_WITH_WRITER
    Command{"resident", penlark::cli::RunResident},
#endif
};

// The usage, in parts: the commands with the dialog are built with the desktop, the settings
// file is not Windows' (which keeps the settings in its registry).
#ifdef PENLARK_WITH_DESKTOP
constexpr std::string_view kDesktopUsage = R"(
Try it:
  demo        a server with sample documents on this machine, and the dialog to use it

With the dialog (the operations a word-processor macro calls):
  open        show the dialog in Open mode
  saveas      show the dialog in Save mode for the active document
  save        the same as saveas
  close       close the active document
  help        open the installed help page
  new         do nothing
  wordclose   load the dialog and read the active document's name
  These take --document FILE (repeatable) to open RTF files in the word processor first, and
  --view to show a fetched document with the desktop's default handler. They and the demo drive
  LibreOffice Writer when it is installed; --word=writer insists on it, --word=local takes the
  stand-in word processor instead. When your office runs (on its default profile, or the one
  --profile DIR names), they act on it, through one resident Penlark per office that keeps the
  login and the document's folder until the office ends ("penlark resident", started for you).
)";
#endif
constexpr std::string_view kServerUsage = R"(
For scripts, without the dialog:
  ls          list a server folder:    penlark ls --server SERVER --user USER DIR
  get         fetch a document as RTF: penlark get --server SERVER --user USER DIR NAME OUT.rtf
  put         store an RTF file:       penlark put --server SERVER --user USER DIR NAME IN.rtf
  rm          delete a server entry:   penlark rm --server SERVER --user USER DIR NAME
  mkdir       create a server folder:  penlark mkdir --server SERVER --user USER DIR NAME
)";
#ifndef _WIN32
constexpr std::string_view kSettingsCommandUsage =
    R"(  settings    show the machine settings and the files derived from them
)";
#endif
constexpr std::string_view kServerNotes = R"(
The server commands take the password from $PENLARK_PASSWORD, or with --password-stdin from the
first line of standard input; "penlark COMMAND --help" tells more. They print what would be shown
in message boxes on standard error, and exit with 0 on success, 1 on failure.
)";
#ifndef _WIN32
constexpr std::string_view kSettingsFileUsage = R"(
The machine settings file is $PENLARK_REGISTRY, or /etc/penlark/registry.reg.
)";
#endif

void PrintUsage(std::ostream& out) {
  out << "Usage: penlark COMMAND [ARGUMENTS]\n";
#ifdef PENLARK_WITH_DESKTOP
  out << kDesktopUsage;
#endif
  out << kServerUsage;
#ifndef _WIN32
  out << kSettingsCommandUsage;
#endif
  out << kServerNotes;
#ifndef _WIN32
  out << kSettingsFileUsage;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments = penlark::ProgramArguments(argc, argv);
  const std::vector<std::string_view> args(arguments.begin(), arguments.end());
  if (args.empty()) {
    PrintUsage(std::cerr);
    return 2;
  }
  const std::string_view name = args.front();
  if (name == "--help" || name == "-h") {
    PrintUsage(std::cout);
    return 0;
  }
  const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const Command& c) { return c.name == name; });
  if (command == kCommands.end()) {
    std::cerr << "penlark: unknown command: " << name << "\n\n";
    PrintUsage(std::cerr);
    return 2;
  }
  return command->run(penlark::cli::Arguments(args).subspan(1));
}
