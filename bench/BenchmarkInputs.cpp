#include "BenchmarkInputs.h"

#include "platform/Files.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace penlark::bench {
namespace {

namespace fs = std::filesystem;

// The text files of `root` that match `wanted`, in path order.
std::vector<fs::path> TextFiles(const fs::path& root, bool (*wanted)(const fs::path&)) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
       it.increment(error)) {
    if (it->is_regular_file(error) && wanted(it->path())) {
      files.push_back(it->path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

Bytes InstalledText() {
  std::vector<fs::path> files =
      TextFiles("/usr/share/common-licenses", [](const fs::path&) { return true; });
  const std::vector<fs::path> python =
      TextFiles("/usr/lib/python3.11", [](const fs::path& p) { return p.extension() == ".py"; });
  files.insert(files.end(), python.begin(), python.end());
  Bytes text;
  for (const fs::path& file : files) {
    const Bytes content = ReadWholeFile<Bytes>(file);
    text.insert(text.end(), content.begin(), content.end());
  }
  return text;
}

Bytes PseudoText(std::size_t size) {
  constexpr std::array<std::string_view, 24> kWords = {
      "the",  "of",     "and",   "to",     "in",      "a",    "is",      "that",
      "for",  "it",     "as",    "with",   "be",      "on",   "not",     "this",
      "data", "return", "value", "server", "license", "copy", "program", "software"};
  std::mt19937 random(11);
  // Common words far more often than rare ones, as in real text.
  std::discrete_distribution<std::size_t> word(
      {40, 30, 28, 25, 22, 20, 15, 12, 10, 10, 9, 8, 8, 7, 6, 6, 5, 5, 4, 3, 3, 2, 2, 1});
  Bytes text;
  text.reserve(size);
  while (text.size() < size) {
    const std::string_view w = kWords[word(random)];
    text.insert(text.end(), w.begin(), w.end());
    text.push_back(random() % 12 == 0 ? '\n' : ' ');
  }
  return text;
}

}  // namespace

Bytes TextCorpus(std::size_t size) {
  const Bytes source = InstalledText();
  if (source.empty()) {
    return PseudoText(size);
  }
  Bytes text;
  text.reserve(size);
  while (text.size() < size) {
    const std::size_t take = std::min(source.size(), size - text.size());
    text.insert(text.end(), source.begin(), source.begin() + static_cast<std::ptrdiff_t>(take));
  }
  return text;
}

Bytes RandomBytes(std::size_t size) {
  std::mt19937_64 random(5);
  Bytes bytes(size);
  for (auto& byte : bytes) {
    byte = static_cast<std::uint8_t>(random() >> 56);
  }
  return bytes;
}

std::string SampleRtf(std::size_t size) {
  std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\n";
  for (int paragraph = 0; rtf.size() < size; ++paragraph) {
    rtf += "\\pard Paragraph " + std::to_string(paragraph) +
           ": the quick brown fox jumps over the lazy dog, {\\b bold words} and "
           "{\\i italic words} follow plain ones to make a line of ordinary text.\\par\n";
  }
  return rtf + "}";
}

}  // namespace penlark::bench
