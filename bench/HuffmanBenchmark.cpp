// Speed of EncodeByte and DecodeByte on 100 MB of text, 100 MB of random bytes, and samples of
// 1 KB and 100 KB of the text, on one core. Speeds are in MB/s (10^6 bytes of uncompressed data
// per second of the calling thread's processor time, the kernel's work for it included);
// copying the input into the array before each call is not timed.

#include "BenchmarkInputs.h"
#include "compression/HuffmanCompression.h"

#include <map>
#include <string>
#include <time.h>

#include <benchmark/benchmark.h>

namespace penlark::bench {
namespace {

constexpr std::size_t kLarge = 100'000'000;

const Bytes& Input(const std::string& name);

Bytes MakeInput(const std::string& name) {
  if (name == "random") {
    return RandomBytes(kLarge);
  }
  if (name == "text") {
    return TextCorpus(kLarge);
  }
  const Bytes& text = Input("text");
  const std::size_t size = name == "text_100K" ? 100'000 : 1'000;
  return {text.begin(), text.begin() + static_cast<std::ptrdiff_t>(size)};
}

const Bytes& Input(const std::string& name) {
  static std::map<std::string, Bytes> inputs;
  auto it = inputs.find(name);
  if (it == inputs.end()) {
    it = inputs.emplace(name, MakeInput(name)).first;
  }
  return it->second;
}

const Bytes& Encoded(const std::string& name) {
  static std::map<std::string, Bytes> blocks;
  auto it = blocks.find(name);
  if (it == blocks.end()) {
    Bytes block = Input(name);
    HuffmanCompression().EncodeByte(block, static_cast<std::int32_t>(block.size()));
    it = blocks.emplace(name, std::move(block)).first;
  }
  return it->second;
}

// The processor time this thread has used, in seconds: what one core spends, whatever else
// the machine runs meanwhile.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Times `operation` on a fresh copy of `source` in each iteration.
template <typename Operation>
void Measure(benchmark::State& state, const Bytes& source, std::size_t uncompressedSize,
             Operation operation) {
  for (auto _ : state) {
    Bytes bytes = source;
    const double start = ThreadSeconds();
    operation(bytes);
    const double stop = ThreadSeconds();
    benchmark::DoNotOptimize(bytes.data());
    state.SetIterationTime(stop - start);
  }
  state.counters["MB/s"] = benchmark::Counter(
      static_cast<double>(uncompressedSize) * static_cast<double>(state.iterations()) / 1e6,
      benchmark::Counter::kIsRate);
}

void EncodeByte(benchmark::State& state, const std::string& name) {
  const Bytes& input = Input(name);
  const HuffmanCompression codec;
  Measure(state, input, input.size(), [&codec](Bytes& bytes) {
    codec.EncodeByte(bytes, static_cast<std::int32_t>(bytes.size()));
  });
  state.counters["ratio"] =
      static_cast<double>(Encoded(name).size()) / static_cast<double>(input.size());
}

void DecodeByte(benchmark::State& state, const std::string& name) {
  const HuffmanCompression codec;
  Measure(state, Encoded(name), Input(name).size(), [&codec](Bytes& bytes) {
    codec.DecodeByte(bytes, static_cast<std::int32_t>(bytes.size()));
  });
}

void Configure(benchmark::internal::Benchmark* benchmark) {
  benchmark->UseManualTime()->Unit(benchmark::kMicrosecond);
}

BENCHMARK_CAPTURE(EncodeByte, text, "text")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByte, text, "text")->Apply(Configure);
BENCHMARK_CAPTURE(EncodeByte, random, "random")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByte, random, "random")->Apply(Configure);
BENCHMARK_CAPTURE(EncodeByte, text_100K, "text_100K")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByte, text_100K, "text_100K")->Apply(Configure);
BENCHMARK_CAPTURE(EncodeByte, text_1K, "text_1K")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByte, text_1K, "text_1K")->Apply(Configure);

}  // namespace
}  // namespace penlark::bench
