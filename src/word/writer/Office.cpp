#include "word/writer/Office.h"

#include "word/writer/RunningOffice.h"

#include <atomic>
#include <cerrno>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <csignal>
#include <cstring>
#include <future>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace penlark {
namespace {

namespace css = uno::css;
using Clock = std::chrono::steady_clock;

// The office's exit code when it wants to be started again, as it does once on a new profile.
constexpr int kRestartRequested = 81;
constexpr int kMaxStarts = 3;
constexpr auto kPollInterval = std::chrono::milliseconds(50);

// Unique on this machine while we run; the random part keeps a stale pipe of a dead process of
// the same id out of the way.
std::string UniquePipeName() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  return "penlark-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-" +
         std::to_string(random());
}

std::string DescribeStatus(int status) {
  if (WIFSIGNALED(status)) {
    return "was killed by signal " + std::to_string(WTERMSIG(status));
  }
  return "exited with status " + std::to_string(WEXITSTATUS(status));
}

}  // namespace

std::filesystem::path OfficeProgramDir(const WriterOptions& options) {
  return options.programDir.empty() ? std::filesystem::path(PENLARK_OFFICE_PROGRAM_DIR)
                                    : options.programDir;
}

class Office::Profile {
 public:
  explicit Profile(const std::filesystem::path& given) : path_(given) {
    if (path_.empty()) {
      std::string pattern =
          (std::filesystem::temp_directory_path() / "penlark-office-XXXXXX").string();
      if (mkdtemp(pattern.data()) == nullptr) {
        throw WordError("Cannot create a profile folder for the office: " +
                        std::string(std::strerror(errno)));
      }
      path_ = pattern;
      temporary_ = true;
    }
  }
  ~Profile() {
    if (temporary_) {
      std::error_code ignored;
      std::filesystem::remove_all(path_, ignored);
    }
  }
  Profile(const Profile&) = delete;
  Profile& operator=(const Profile&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  bool temporary_ = false;
};

Office::Office(const WriterOptions& options)
    : profile_(std::make_unique<Profile>(options.runningProfile.empty() ? options.profileDir
                                                                        : options.runningProfile)),
      pipeName_(options.runningProfile.empty() ? UniquePipeName()
                                               : AttachPipeName(options.runningProfile)),
      stopTimeout_(options.stopTimeout) {
  const auto programDir = OfficeProgramDir(options);
  if (!IsWriterInstalled(options)) {
    throw WordError("LibreOffice is not installed in " + programDir.string() + ".");
  }
  const auto local = uno::LocalContext(programDir);
  if (options.runningProfile.empty()) {
    Start(options, local);
  } else {
    Attach(options, local);
  }
}

void Office::Start(const WriterOptions& options,
                   const uno::Reference<css::uno::XComponentContext>& local) {
  std::vector<std::string> arguments{
      "-env:UserInstallation=" + uno::ToUtf8(uno::FileUrl(profile_->Path())),
      "--accept=pipe,name=" + pipeName_ + ";urp;", "--norestore", "--nologo", "--nodefault"};
  if (!options.visible) {
    arguments.emplace_back("--headless");
  }
  const auto deadline = Clock::now() + options.startTimeout;
  for (int start = 1;; ++start) {
    process_ =
        std::make_unique<OfficeProcess>(OfficeProgramDir(options) / "soffice.bin", arguments);
    if (const auto remote = Connect(local, deadline); remote.is()) {
      desktop_ = uno::Guarded([&] { return css::frame::Desktop::create(remote); });
      return;
    }
    const auto status = process_->ExitStatus();
    if (!status) {
      throw WordError("The office did not accept a connection in time.");
    }
    const bool restart = WIFEXITED(*status) && WEXITSTATUS(*status) == kRestartRequested;
    if (!restart || start == kMaxStarts) {
      throw WordError("The office " + DescribeStatus(*status) +
                      " before it accepted a connection.");
    }
  }
}

// The running office may accept on our pipe already (another Penlark process asked it to);
// otherwise it is asked to.
void Office::Attach(const WriterOptions& options,
                    const uno::Reference<css::uno::XComponentContext>& local) {
  const std::string profile = profile_->Path().string();
  const auto running = FindRunningOffice(profile_->Path());
  if (!running) {
    throw WordError("No office is running on the profile " + profile + ".");
  }
  attachedId_ = *running;
  const auto deadline = Clock::now() + options.attachTimeout;
  auto remote = Connect(local, Clock::now());
  if (!remote.is() && !Gone()) {
    AskToAccept(OfficeProgramDir(options), profile_->Path(), pipeName_, deadline);
    remote = Connect(local, deadline);
  }
  if (!remote.is()) {
    throw WordError(Gone()
                        ? "The office running on " + profile + " has ended."
                        : "The office running on " + profile +
                              " did not accept a connection "
                              "within " +
                              std::to_string(options.attachTimeout.count() / 1000) + " seconds.");
  }
  desktop_ = uno::Guarded([&] { return css::frame::Desktop::create(remote); });
}

bool Office::Gone() {
  if (process_) {
    return process_->ExitStatus().has_value();
  }
  return kill(attachedId_, 0) != 0 && errno != EPERM;
}

Office::~Office() {
  if (!process_) {
    return;  // the user's office: it goes on running
  }
  const auto deadline = Clock::now() + stopTimeout_;
  // terminate() does not return while the office shows a modal dialog, such as its question about
  // unsaved changes: it runs on a thread of its own, and killing the office ends the call.
  auto terminated = std::async(std::launch::async, [desktop = std::move(desktop_)] {
    try {
      return desktop.is() && desktop->terminate();
    } catch (const css::uno::Exception&) {
      return false;  // gone already
    }
  });
  if (terminated.wait_until(deadline) != std::future_status::ready || !terminated.get() ||
      !process_->WaitForExit(
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()))) {
    process_->Kill();
  }
}

bool Office::Answers() {
  if (Gone()) {
    return false;
  }
  try {
    uno::Guarded([&] { desktop_->getFrames(); });
    return true;
  } catch (const WordError&) {
    return false;
  }
}

// The office's context once it listens; an empty reference when the office ended first or the
// deadline passed.
uno::Reference<css::uno::XComponentContext> Office::Connect(
    const uno::Reference<css::uno::XComponentContext>& local, Clock::time_point deadline) {
  const auto resolver = uno::Guarded([&] { return css::bridge::UnoUrlResolver::create(local); });
  const auto url =
      uno::ToOUString("uno:pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext");
  for (;;) {
    try {
      return uno::Reference<css::uno::XComponentContext>(resolver->resolve(url),
                                                         css::uno::UNO_QUERY_THROW);
    } catch (const css::connection::NoConnectException&) {
      // Not listening yet.
    } catch (const css::uno::Exception& exception) {
      throw uno::CaughtError(exception);
    }
    if (Gone() || Clock::now() >= deadline) {
      return {};
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace penlark
