#include "resident/ResidentChannel.h"

#include "word/writer/RunningOffice.h"

#include <cstdlib>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace penlark::cli {
namespace {

namespace fs = std::filesystem;

fs::path RuntimeFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
    return fs::path(runtime) / "penlark";
  }
  return fs::temp_directory_path() / ("penlark-" + std::to_string(getuid()));
}

void AppendLines(std::string& reply, std::string_view kind, std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    reply.append(kind).append(" ").append(text.substr(0, end)).append("\n");
    text.remove_prefix(std::min(end + 1, text.size()));
  }
}

}  // namespace

fs::path ResidentSocketPath(const fs::path& profile) {
  const fs::path folder = RuntimeFolder();
  mkdir(folder.c_str(), S_IRWXU);
  // In a shared temporary folder another user could have made it first.
  struct stat status {};
  if (lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
      status.st_uid != getuid() || (status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    throw std::runtime_error(folder.string() + " is not a folder of this user's alone.");
  }
  return folder / (AttachPipeName(profile) + ".socket");
}

std::optional<std::string> EncodeRequest(const ResidentRequest& request) {
  std::string text = request.operation + "\n";
  for (const std::string& document : request.documents) {
    if (document.empty() || document.find('\n') != std::string::npos) {
      return std::nullopt;
    }
    text += document + "\n";
  }
  return text + "\n";
}

std::optional<ResidentRequest> DecodeRequest(std::string_view text) {
  if (const std::size_t end = text.find("\n\n"); end != std::string_view::npos) {
    text = text.substr(0, end + 1);
  } else {
    return std::nullopt;
  }
  ResidentRequest request;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    const std::string line(text.substr(start, end - start));
    if (start == 0) {
      request.operation = line;
    } else {
      request.documents.push_back(line);
    }
    start = end + 1;
  }
  return request;
}

std::string EncodeReply(std::string_view out, std::string_view err, int exitStatus) {
  std::string reply;
  AppendLines(reply, "out", out);
  AppendLines(reply, "err", err);
  return reply + "exit " + std::to_string(exitStatus) + "\n";
}

}  // namespace penlark::cli
