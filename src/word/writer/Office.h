#pragma once

#include "word/writer/OfficeProcess.h"
#include "word/writer/Uno.h"
#include "word/writer/Writer.h"

#include <chrono>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <filesystem>
#include <memory>
#include <string>

namespace penlark {

// The office's program folder: the one the options name, else the one found at build time.
std::filesystem::path OfficeProgramDir(const WriterOptions& options);

// An office process of our own, on its own user profile, and the UNO connection to its desktop.
// Ending it terminates the desktop, and kills the process when it has not gone within the
// options' stop timeout, or refused to go. With the options' running profile, it is instead the
// connection to the user's office that runs on that profile, which is left running.
class Office {
 public:
  // Starts the office (or finds the running one) and waits until it accepts the connection;
  // raises WordError when it cannot.
  explicit Office(const WriterOptions& options);
  ~Office();
  Office(const Office&) = delete;
  Office& operator=(const Office&) = delete;

  const uno::Reference<uno::css::frame::XDesktop2>& Desktop() const { return desktop_; }
  int ProcessId() const { return process_ ? process_->Id() : attachedId_; }
  // Whether the process still runs and answers over the connection.
  bool Answers();

 private:
  class Profile;

  void Start(const WriterOptions& options,
             const uno::Reference<uno::css::uno::XComponentContext>& local);
  void Attach(const WriterOptions& options,
              const uno::Reference<uno::css::uno::XComponentContext>& local);
  bool Gone();
  uno::Reference<uno::css::uno::XComponentContext> Connect(
      const uno::Reference<uno::css::uno::XComponentContext>& local,
      std::chrono::steady_clock::time_point deadline);

  std::unique_ptr<Profile> profile_;
  std::string pipeName_;
  std::chrono::milliseconds stopTimeout_;
  std::unique_ptr<OfficeProcess> process_;
  // The user's office we attached to; -1 for one of our own.
  int attachedId_ = -1;
  uno::Reference<uno::css::frame::XDesktop2> desktop_;
};

}  // namespace penlark
