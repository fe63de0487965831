// he3: compresses files into the HE3 format and restores them.

#include "ProgressBar.h"
#include "compression/FileSink.h"
#include "compression/HuffmanCompression.h"
#include "compression/HuffmanError.h"
#include "compression/MemorySink.h"
#include "platform/Files.h"
#include "platform/ProgramArguments.h"

#include <cstdio>
#include <iostream>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUsage = R"(Usage: he3 encode IN OUT
       he3 decode IN OUT

encode compresses IN into OUT in the HE3 format (or stores it as HE0 when coding
would not make it shorter); decode restores what encode wrote. IN or OUT may be
- for standard input or standard output. OUT is written only when all went well,
and replaced as a whole. A progress bar is shown when standard error is a terminal.

Exit status: 0 on success, 1 on any error (described on standard error).
)";

using penlark::ByteBuffer;

constexpr std::string_view kStandardStream = "-";

std::span<const std::uint8_t> Data(const ByteBuffer& bytes) {
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw std::runtime_error("the input is larger than 2147483647 bytes");
  }
  return bytes.Bytes();
}

void Code(const penlark::HuffmanCompression& codec, bool encode, std::span<const std::uint8_t> in,
          penlark::BlockSink& sink) {
  if (encode) {
    codec.Encode(in, sink);
  } else {
    codec.Decode(in, sink);
  }
}

void Run(const penlark::HuffmanCompression& codec, bool encode, std::string_view in,
         std::string_view out) {
  const ByteBuffer bytes =
      in == kStandardStream
          ? penlark::ReadToEnd<ByteBuffer>(penlark::kStandardInput, "standard input")
          : penlark::ReadWholeFile<ByteBuffer>(penlark::Utf8Path(in));
  if (out == kStandardStream) {
    // Nothing may reach standard output before the whole result is known to be good.
    penlark::MemorySink<ByteBuffer> sink;
    Code(codec, encode, Data(bytes), sink);
    const ByteBuffer result = std::move(sink).Take();
    penlark::WriteAll(penlark::kStandardOutput,
                      {reinterpret_cast<const char*>(result.data()), result.size()},
                      "standard output");
  } else {
    penlark::FileSink sink{penlark::Utf8Path(out)};
    Code(codec, encode, Data(bytes), sink);
    sink.Finish();
  }
}

std::string Describe(const std::exception& error) {
  if (const auto* codecError = dynamic_cast<const penlark::HuffmanError*>(&error)) {
    return codecError->Description();
  }
  if (const auto* fileError = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
    return penlark::Utf8Text(fileError->path1()) + ": " + fileError->code().message();
  }
  return error.what();
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> args = penlark::ProgramArguments(argc, argv);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    std::cout << kUsage;
    return 0;
  }
  if (args.size() != 3 || (args[0] != "encode" && args[0] != "decode")) {
    std::cerr << kUsage;
    return 1;
  }

  penlark::HuffmanCompression codec;
  penlark::ProgressBar bar(std::cerr);
  if (penlark::IsTerminal(penlark::kStandardError)) {
    codec.SetProgressListener([&bar](std::int16_t Procent) { bar.Show(Procent); });
  }
  try {
    Run(codec, args[0] == "encode", args[1], args[2]);
    bar.Finish();
    return 0;
  } catch (const std::exception& error) {
    bar.Finish();
    std::cerr << Describe(error) << '\n';
    return 1;
  }
}
