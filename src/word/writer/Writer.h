#pragma once

#include "word/Word.h"

#include <chrono>
#include <filesystem>
#include <memory>

// LibreOffice Writer as the word processor: an office process of Penlark's own, driven over UNO.
namespace penlark {

struct WriterOptions {
  // The office's program folder (soffice.bin, fundamentalrc); empty: the one found at build time.
  std::filesystem::path programDir;
  // The office's user profile folder; empty: a fresh temporary one, removed when the office ends.
  // No other office may be running on it.
  std::filesystem::path profileDir;
  // Whether the office shows its windows; false runs it headless.
  bool visible = false;
  // How long a starting office may take to accept the connection.
  std::chrono::milliseconds startTimeout{60'000};
  // How long an ending office may take to go before it is killed; a visible office may be
  // waiting for its user to answer a question about unsaved changes.
  std::chrono::milliseconds stopTimeout{10'000};
  // The profile of an office that already runs (the user's own), to attach to instead of starting
  // one. That office is asked to accept our connection, and is left running when we let go.
  std::filesystem::path runningProfile;
  // How long a running office may take to accept the connection.
  std::chrono::milliseconds attachTimeout{10'000};
};

// Whether an office can be started with these options: its program is installed there.
bool IsWriterInstalled(const WriterOptions& options = {});

// Starts an office and connects to it; the office ends with the returned object. Raises WordError
// when it cannot be started or reached. Start it from a thread that lives as long as the office is
// wanted (the main thread): the office is ended when that thread ends, even by a crash.
std::unique_ptr<Word> StartWriter(const WriterOptions& options = {});

}  // namespace penlark
