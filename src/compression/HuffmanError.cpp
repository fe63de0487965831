#include "compression/HuffmanError.h"

#include <utility>

namespace penlark {

HuffmanError::HuffmanError(std::string source, const std::string& description)
    : std::runtime_error(description), source_(std::move(source)) {}

HuffmanError SourceMissingError(std::string source) {
  return HuffmanError(std::move(source), "Source file does not exist");
}

HuffmanError IdentificationError() {
  return HuffmanError("HuffmanDecode()",
                      "The data either was not compressed with HE3 or is corrupt "
                      "(identification string not found)");
}

HuffmanError ChecksumError() {
  return HuffmanError("clsHuffman.Decode()",
                      "The data might be corrupted (checksum did not match expected value)");
}

}  // namespace penlark
