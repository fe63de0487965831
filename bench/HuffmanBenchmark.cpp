// Speed of EncodeByte and DecodeByte on 100 MB of text, 100 MB of random bytes, and samples of
// 1 KB and 100 KB of the text, on one core, as a caller meets them: each iteration works on a
// fresh copy of the input, and the memory the call allocates and touches for its result counts.
// Speeds are in MB/s (10^6 bytes of uncompressed data per second of the calling thread's
// processor time, the kernel's work for it included); making the copy is not timed.
//
// Beside them, in the same run:
//   *Warm         the same calls with the allocator keeping freed memory, so that the result
//                 lands in pages touched before: the coding loops without the page faults;
//   Zlib*, Libdeflate*  Huffman-only deflate of the same text with zlib, and its decoding with
//                 libdeflate, timed the same way, as anchors for the figures of a busy machine.
// The Windows build has neither: no zlib or libdeflate is built for it, and its allocator has no
// settings to keep freed memory.
//
//   penlark_huffman_bench                    run the benchmarks
//   penlark_huffman_bench --write-text=FILE  only write the 100 MB of text (for he3 runs)

#include "BenchmarkInputs.h"
#include "ThreadTime.h"
#include "compression/HuffmanCompression.h"
#include "platform/Files.h"

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <libdeflate.h>
#include <malloc.h>
#include <zlib.h>
#endif

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

#ifndef _WIN32
// From here on freed memory stays with the process and is handed out again.
void KeepFreedMemory() {
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

void EncodeByteWarm(benchmark::State& state, const std::string& name) {
  KeepFreedMemory();
  EncodeByte(state, name);
}

void DecodeByteWarm(benchmark::State& state, const std::string& name) {
  KeepFreedMemory();
  DecodeByte(state, name);
}

// Huffman-only deflate (no string matching) of `input` into a buffer of its bound.
Bytes ZlibHuffmanOnly(const Bytes& input) {
  z_stream stream{};
  if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 9, Z_HUFFMAN_ONLY) != Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  Bytes out(deflateBound(&stream, static_cast<uLong>(input.size())));
  stream.next_in = const_cast<Bytef*>(input.data());
  stream.avail_in = static_cast<uInt>(input.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) {
    throw std::runtime_error("deflate did not finish");
  }
  return out;
}

void ZlibHuffmanOnlyEncode(benchmark::State& state, const std::string& name) {
  const Bytes& input = Input(name);
  Measure(state, input, input.size(),
          [](Bytes& bytes) { benchmark::DoNotOptimize(ZlibHuffmanOnly(bytes).data()); });
}

void LibdeflateDecode(benchmark::State& state, const std::string& name) {
  const Bytes& input = Input(name);
  const Bytes deflated = ZlibHuffmanOnly(input);
  libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  Measure(state, deflated, input.size(), [&](Bytes& bytes) {
    Bytes out(input.size());
    if (libdeflate_deflate_decompress(decompressor, bytes.data(), bytes.size(), out.data(),
                                      out.size(), nullptr) != LIBDEFLATE_SUCCESS) {
      throw std::runtime_error("libdeflate could not decode");
    }
    bytes = std::move(out);
  });
  libdeflate_free_decompressor(decompressor);
}
#endif

void Configure(benchmark::internal::Benchmark* benchmark) {
  benchmark->UseManualTime()->Unit(benchmark::kMicrosecond);
}

BENCHMARK_CAPTURE(EncodeByte, text, "text")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByte, text, "text")->Apply(Configure);
#ifndef _WIN32
BENCHMARK_CAPTURE(ZlibHuffmanOnlyEncode, text, "text")->Apply(Configure);
BENCHMARK_CAPTURE(LibdeflateDecode, text, "text")->Apply(Configure);
#endif
BENCHMARK_CAPTURE(EncodeByte, random, "random")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByte, random, "random")->Apply(Configure);
BENCHMARK_CAPTURE(EncodeByte, text_100K, "text_100K")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByte, text_100K, "text_100K")->Apply(Configure);
BENCHMARK_CAPTURE(EncodeByte, text_1K, "text_1K")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByte, text_1K, "text_1K")->Apply(Configure);
#ifndef _WIN32
// Last: they change how the allocator treats every later benchmark.
BENCHMARK_CAPTURE(EncodeByteWarm, text, "text")->Apply(Configure);
BENCHMARK_CAPTURE(DecodeByteWarm, text, "text")->Apply(Configure);
#endif

}  // namespace
}  // namespace penlark::bench

int main(int argc, char** argv) {
  constexpr std::string_view kWriteText = "--write-text=";
  if (argc == 2 && std::string_view(argv[1]).starts_with(kWriteText)) {
    const penlark::bench::Bytes text = penlark::bench::TextCorpus(penlark::bench::kLarge);
    penlark::ReplaceFile(std::string(argv[1] + kWriteText.size()),
                         std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
