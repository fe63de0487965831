#include "compression/HuffmanCompression.h"

#include "compression/FileSink.h"
#include "compression/HuffmanDecoder.h"
#include "compression/HuffmanEncoder.h"
#include "compression/HuffmanError.h"
#include "compression/MemorySink.h"
#include "compression/ProgressReporter.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

#include <limits>
#include <span>
#include <stdexcept>
#include <string_view>

namespace penlark {
namespace {

std::span<const std::uint8_t> Prefix(const std::vector<std::uint8_t>& bytes, std::int32_t ByteLen) {
  if (ByteLen < 0 || static_cast<std::size_t>(ByteLen) > bytes.size()) {
    throw std::out_of_range("ByteLen lies outside the byte array");
  }
  return std::span(bytes).first(static_cast<std::size_t>(ByteLen));
}

template <typename Buffer>
std::int32_t LengthOf(const Buffer& bytes) {
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw std::length_error("the codec handles at most 2147483647 bytes at once");
  }
  return static_cast<std::int32_t>(bytes.size());
}

ByteBuffer ReadSource(const std::filesystem::path& SourceFile, const char* operation) {
  // The source exists when its length can be read.
  std::error_code missing;
  if (std::filesystem::file_size(SourceFile, missing) == static_cast<std::uintmax_t>(-1)) {
    throw SourceMissingError(operation);
  }
  return ReadWholeFile<ByteBuffer>(SourceFile);
}

std::vector<std::uint8_t> ToBytes(const std::string& Text) {
  const std::string ansi = codepage::Utf8ToAnsi(Text);
  return {ansi.begin(), ansi.end()};
}

std::string_view AsChars(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string ToText(const std::vector<std::uint8_t>& bytes) {
  return codepage::AnsiToUtf8(AsChars(bytes));
}

}  // namespace

void HuffmanCompression::EncodeFile(const std::filesystem::path& SourceFile,
                                    const std::filesystem::path& DestFile) const {
  const ByteBuffer bytes = ReadSource(SourceFile, "clsHuffman.EncodeFile()");
  FileSink sink(DestFile);
  Encode(std::span(bytes.data(), static_cast<std::size_t>(LengthOf(bytes))), sink);
  sink.Finish();
}

void HuffmanCompression::DecodeFile(const std::filesystem::path& SourceFile,
                                    const std::filesystem::path& DestFile) const {
  const ByteBuffer bytes = ReadSource(SourceFile, "clsHuffman.DecodeFile()");
  FileSink sink(DestFile);
  Decode(std::span(bytes.data(), static_cast<std::size_t>(LengthOf(bytes))), sink);
  sink.Finish();
}

void HuffmanCompression::EncodeByte(std::vector<std::uint8_t>& ByteArray,
                                    std::int32_t ByteLen) const {
  MemorySink<std::vector<std::uint8_t>> sink;
  Encode(Prefix(ByteArray, ByteLen), sink);
  ByteArray = std::move(sink).Take();
}

void HuffmanCompression::DecodeByte(std::vector<std::uint8_t>& ByteArray,
                                    std::int32_t ByteLen) const {
  MemorySink<std::vector<std::uint8_t>> sink;
  Decode(Prefix(ByteArray, ByteLen), sink);
  ByteArray = std::move(sink).Take();
}

void HuffmanCompression::Encode(std::span<const std::uint8_t> data, BlockSink& sink) const {
  ProgressReporter progress(progress_);
  EncodeBlock(data, progress, sink);
}

void HuffmanCompression::Decode(std::span<const std::uint8_t> block, BlockSink& sink) const {
  ProgressReporter progress(progress_);
  DecodeBlock(block, progress, sink);
}

std::string HuffmanCompression::EncodeString(const std::string& Text) const {
  std::vector<std::uint8_t> bytes = ToBytes(Text);
  EncodeByte(bytes, LengthOf(bytes));
  return ToText(bytes);
}

std::string HuffmanCompression::DecodeString(const std::string& Text) const {
  std::vector<std::uint8_t> bytes = ToBytes(Text);
  DecodeByte(bytes, LengthOf(bytes));
  return ToText(bytes);
}

}  // namespace penlark
