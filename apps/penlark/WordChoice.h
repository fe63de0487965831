#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace penlark {
class Word;
}

// Which word processor the desktop commands drive: LibreOffice Writer when it is installed, else
// the stand-in; --word=writer and --word=local decide.
namespace penlark::cli {

enum class WordChoice { Automatic, Local, Writer };

// Reads an argument "--word=local" or "--word=writer" into `choice`; false, leaving `choice`
// alone, for any other argument.
bool ReadWordOption(std::string_view argument, WordChoice& choice);

struct DesktopWord {
  std::shared_ptr<Word> word;
  // What the user knows it as.
  std::string name;
  // Whether it shows its documents in windows of its own; the stand-in and a headless Writer
  // show none.
  bool showsDocuments = false;
};

// Starts the chosen word processor. Writer is an office of our own, visible when there is an X
// display, which ends when the last reference to it goes. Automatic takes Writer when it is
// installed and starts, else the stand-in. Says on `messages` why Automatic fell back from an
// installed Writer, and returns nullopt after saying why when Writer was insisted upon and cannot
// be had.
std::optional<DesktopWord> StartWordProcessor(WordChoice choice, std::ostream& messages);

}  // namespace penlark::cli
