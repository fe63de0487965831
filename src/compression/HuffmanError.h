#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace penlark {

// An error raised by HuffmanCompression: always the number 0x80040000, with the routine that
// raised it and a description. what() is the description.
class HuffmanError : public std::runtime_error {
 public:
  static constexpr std::int32_t kNumber = -2147221504;  // 0x80040000

  HuffmanError(std::string source, const std::string& description);

  std::int32_t Number() const { return kNumber; }
  const std::string& Source() const { return source_; }
  std::string Description() const { return what(); }

 private:
  std::string source_;
};

// The file to read does not exist; `source` names the file operation that was asked.
HuffmanError SourceMissingError(std::string source);

// The data starts with neither "HE0" CR nor "HE3" CR.
HuffmanError IdentificationError();

// The data does not decode to what its header promises: the codec's word for corrupt data.
HuffmanError ChecksumError();

}  // namespace penlark
