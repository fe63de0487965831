#include "dialog/LocalCopy.h"

#include "platform/Files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace penlark {
namespace {

std::vector<std::string_view> FolderSteps(std::string_view dir) {
  std::vector<std::string_view> steps;
  std::size_t start = 0;
  while (start <= dir.size()) {
    const std::size_t slash = std::min(dir.find('/', start), dir.size());
    if (slash > start) {
      steps.push_back(dir.substr(start, slash - start));
    }
    start = slash + 1;
  }
  return steps;
}

}  // namespace

std::optional<std::string> UnplainFolderStep(std::string_view dir) {
  for (const std::string_view step : FolderSteps(dir)) {
    if (!IsPlainName(step)) {
      return std::string(step);
    }
  }
  return std::nullopt;
}

std::string LocalCopyFolder(std::string_view workDir, std::string_view dir) {
  std::string folder(workDir);
  for (const std::string_view step : FolderSteps(dir)) {
    folder.append(step).push_back(kPathSeparator);
  }
  return folder;
}

void CreateLocalCopyFolder(std::string_view workDir, std::string_view dir) {
  std::error_code ignored;
  std::filesystem::create_directories(Utf8Path(workDir), ignored);
  std::string folder(workDir);
  for (const std::string_view step : FolderSteps(dir)) {
    folder.append(step).push_back(kPathSeparator);
    std::filesystem::create_directory(Utf8Path(folder), ignored);
  }
}

}  // namespace penlark
