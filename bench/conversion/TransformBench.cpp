// Speed of the two conversions on a generated RTF document of about 100 MB (or on a given RTF
// file, such as one a word processor wrote), with libxml2's own
// parse of the same XML text (no handlers) as the baseline for the way back. RtfToXml is timed
// as a caller meets it: by the thread's processor time of one call, which allocates and touches
// its result afresh.
//
//   penlark_conversion_bench                     run the benchmarks
//   penlark_conversion_bench --rtf=FILE          run them on FILE instead of the generated RTF
//   penlark_conversion_bench --write-rtf=FILE    only write the generated RTF (for rtfxml runs)

#include "RtfGenerator.h"
#include "ThreadTime.h"
#include "conversion/Transform.h"
#include "platform/Files.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <string_view>

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

namespace {

constexpr std::size_t kDocumentSize = 100'000'000;

// The RTF file given with --rtf=, if any.
std::string givenRtfPath;

// A new folder below the system's temporary folder.
std::filesystem::path NewTemporaryFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("penlark-bench-" + std::to_string(random()));
    if (std::filesystem::create_directory(folder)) {
      return folder;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

// The generated RTF file and its XML text, made once and removed at exit.
struct Corpus {
  std::filesystem::path directory;
  std::string rtfPath;
  std::string outputPath;
  std::string rtf;
  std::string xml;

  Corpus() : directory(NewTemporaryFolder()) {
    rtfPath = (directory / "document.rtf").string();
    outputPath = (directory / "back.rtf").string();
    rtf = givenRtfPath.empty() ? penlark::bench::GenerateRtf(kDocumentSize)
                               : penlark::ReadWholeFile<std::string>(givenRtfPath);
    penlark::ReplaceFile(rtfPath, rtf);
    xml = penlark::RtfToXml(rtf);
  }
  ~Corpus() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  }
};

const Corpus& TheCorpus() {
  static const Corpus corpus;
  return corpus;
}

void SetMegabytesPerSecond(benchmark::State& state, std::size_t bytes) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void RtfFileToXml(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  for (auto _ : state) {
    benchmark::DoNotOptimize(penlark::RtfFileToXml(corpus.rtfPath));
  }
  state.counters["xml_MB"] = static_cast<double>(corpus.xml.size()) / 1e6;
  SetMegabytesPerSecond(state, corpus.rtf.size());
}

// The conversion alone, from bytes in memory.
void RtfToXml(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  for (auto _ : state) {
    const double start = penlark::bench::ThreadSeconds();
    const std::string xml = penlark::RtfToXml(corpus.rtf);
    state.SetIterationTime(penlark::bench::ThreadSeconds() - start);
    benchmark::DoNotOptimize(xml.data());
  }
  SetMegabytesPerSecond(state, corpus.rtf.size());
}

void XmlToRtfFile(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  for (auto _ : state) {
    if (!penlark::XmlToRtfFile(corpus.xml, corpus.outputPath)) {
      state.SkipWithError("the XML text did not load");
    }
  }
  SetMegabytesPerSecond(state, corpus.xml.size());
}

// The same without writing the file.
void XmlToRtfInMemory(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  for (auto _ : state) {
    benchmark::DoNotOptimize(penlark::XmlToRtf(corpus.xml));
  }
  SetMegabytesPerSecond(state, corpus.xml.size());
}

// libxml2 alone: the same parse from memory with no handler doing anything.
void LibxmlParseBaseline(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  xmlSAXHandler nothing{};
  nothing.initialized = XML_SAX2_MAGIC;
  for (auto _ : state) {
    if (xmlSAXUserParseMemory(&nothing, nullptr, corpus.xml.data(),
                              static_cast<int>(corpus.xml.size())) != 0) {
      state.SkipWithError("libxml2 did not parse the XML text");
    }
  }
  SetMegabytesPerSecond(state, corpus.xml.size());
}

BENCHMARK(RtfToXml)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);
BENCHMARK(RtfFileToXml)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(XmlToRtfFile)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(XmlToRtfInMemory)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(LibxmlParseBaseline)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The console report, followed by the CPU time of the way back relative to the baseline (CPU
// time, not wall time: the machine may be shared).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      seconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto back = seconds_.find("XmlToRtfFile/min_time:3.000");
    const auto baseline = seconds_.find("LibxmlParseBaseline/min_time:3.000");
    if (back != seconds_.end() && baseline != seconds_.end()) {
      std::printf("XmlToRtfFile takes %.2f times the CPU time of libxml2's parse alone\n",
                  back->second / baseline->second);
    }
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
  constexpr std::string_view kWriteRtf = "--write-rtf=";
  if (argc == 2 && std::string_view(argv[1]).starts_with(kWriteRtf)) {
    penlark::ReplaceFile(std::string(argv[1] + kWriteRtf.size()),
                         penlark::bench::GenerateRtf(kDocumentSize));
    return 0;
  }
  constexpr std::string_view kRtf = "--rtf=";
  if (argc >= 2 && std::string_view(argv[1]).starts_with(kRtf)) {
    givenRtfPath = argv[1] + kRtf.size();
    argv[1] = argv[0];
    --argc;
    ++argv;
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
