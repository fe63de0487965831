// The costs of the real Writer: starting an office until its first document is open, ending it,
// and opening and saving as RTF a document of about 1 MB. The work is done in the office's
// process, so wall-clock time is what counts.

#include "BenchmarkInputs.h"
#include "word/writer/WriterWord.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

namespace {

namespace fs = std::filesystem;

// A folder of its own below the temporary folder, removed with its files.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "penlark-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string Write(const std::string& name, const std::string& content) const {
    std::ofstream(path_ / name, std::ios::binary) << content;
    return (path_ / name).string();
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

constexpr std::size_t kLargeSize = 1 << 20;

void BM_ColdStartToFirstDocument(benchmark::State& state) {
  const ScratchDir dir;
  const auto path = dir.Write("first.rtf", "{\\rtf1\\ansi First document.\\par}");
  for (auto _ : state) {
    auto word = std::make_unique<penlark::WriterWord>();
    benchmark::DoNotOptimize(word->DocumentsOpen(path));
    state.PauseTiming();
    word.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ColdStartToFirstDocument)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_EndOffice(benchmark::State& state) {
  const ScratchDir dir;
  const auto path = dir.Write("first.rtf", "{\\rtf1\\ansi First document.\\par}");
  for (auto _ : state) {
    state.PauseTiming();
    auto word = std::make_unique<penlark::WriterWord>();
    word->DocumentsOpen(path);
    state.ResumeTiming();
    word.reset();
  }
}
BENCHMARK(BM_EndOffice)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_OpenLargeRtf(benchmark::State& state) {
  const ScratchDir dir;
  const auto path = dir.Write("large.rtf", penlark::bench::SampleRtf(kLargeSize));
  penlark::WriterWord word;
  for (auto _ : state) {
    const auto document = word.DocumentsOpen(path);
    state.PauseTiming();
    document->Close();
    state.ResumeTiming();
  }
  state.counters["read_bytes"] = static_cast<double>(fs::file_size(path));
}
BENCHMARK(BM_OpenLargeRtf)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_SaveAsLargeRtf(benchmark::State& state) {
  const ScratchDir dir;
  penlark::WriterWord word;
  const auto document =
      word.DocumentsOpen(dir.Write("large.rtf", penlark::bench::SampleRtf(kLargeSize)));
  int round = 0;
  for (auto _ : state) {
    document->SaveAs(dir / ("saved" + std::to_string(++round % 2) + ".rtf"),
                     penlark::kWordFormatRtf);
  }
  state.counters["written_bytes"] = static_cast<double>(fs::file_size(dir / "saved1.rtf"));
}
BENCHMARK(BM_SaveAsLargeRtf)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
