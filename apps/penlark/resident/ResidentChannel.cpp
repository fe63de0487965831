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
  const auto add = [&text](std::string_view key, const std::string& value) {
    if (value.find('\n') != std::string::npos) {
      return false;
    }
    if (!value.empty()) {
      text.append(key).append(" ").append(value).append("\n");
    }
    return true;
  };
  bool valid = request.operation.find('\n') == std::string::npos;
  for (const std::string& document : request.documents) {
    valid = valid && !document.empty() && add("document", document);
  }
  valid = valid && add("from", request.fromDocument) && add("window", request.window);
  return valid ? std::optional(text + "\n") : std::nullopt;
}

std::optional<ResidentRequest> DecodeRequest(std::string_view text) {
  const std::size_t end = text.find("\n\n");
  if (end == std::string_view::npos) {
    return std::nullopt;
  }
  ResidentRequest request;
  text = text.substr(0, end + 1);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t lineEnd = text.find('\n', start);
    const std::string line(text.substr(start, lineEnd - start));
    const std::size_t space = line.find(' ');
    const std::string key = line.substr(0, space);
    const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
    if (start == 0) {
      request.operation = line;
    } else if (key == "document") {
      request.documents.push_back(value);
    } else if (key == "from") {
      request.fromDocument = value;
    } else if (key == "window") {
      request.window = value;
    }
    start = lineEnd + 1;
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
