#pragma once

#include "compression/BlockSink.h"
#include "compression/ProgressListener.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace penlark {

// The HE3 codec: compresses bytes with a Huffman code built for each input from its own byte
// counts, into a self-describing HE3 block (header, code table, packed bits), or stores them
// unchanged behind an HE0 header when coding would not help. Data can be handled as files, byte
// arrays or text.
//
// Errors are HuffmanError (a missing source file, data that is not HE3 or HE0, corrupt data);
// files that cannot be read or written raise std::filesystem::filesystem_error. After any error
// the caller's array is unchanged and no destination file has been touched.
class HuffmanCompression {
 public:
  // Attaches the listener of the `Progress` event (an empty one detaches it). It is raised from
  // inside EncodeByte and DecodeByte, and so from every operation, on the caller's thread.
  void SetProgressListener(ProgressListener listener) { progress_ = std::move(listener); }

  // Encodes the whole source file and makes the result the whole destination file.
  void EncodeFile(const std::filesystem::path& SourceFile,
                  const std::filesystem::path& DestFile) const;
  // Decodes the whole source file and makes the result the whole destination file.
  void DecodeFile(const std::filesystem::path& SourceFile,
                  const std::filesystem::path& DestFile) const;

  // Encodes the first ByteLen bytes of ByteArray and replaces the whole array with the HE3 or
  // HE0 block. ByteLen must lie between 0 and the array's size (std::out_of_range otherwise).
  void EncodeByte(std::vector<std::uint8_t>& ByteArray, std::int32_t ByteLen) const;
  // Decodes the HE3 or HE0 block in the first ByteLen bytes of ByteArray and replaces the whole
  // array with the uncompressed data.
  void DecodeByte(std::vector<std::uint8_t>& ByteArray, std::int32_t ByteLen) const;

  // The text forms carry bytes as characters of the ANSI code page (Windows-1252), one per byte,
  // NUL included: text goes through the code page to bytes, and the result back to text.
  std::string EncodeString(const std::string& Text) const;
  std::string DecodeString(const std::string& Text) const;

  // EncodeByte and DecodeByte for data held anywhere, with the result put into `sink` as it is
  // made (straight into a file, say, with no copy of it in memory). After an error the sink may
  // hold part of a result: it is the sink's part to discard it.
  void Encode(std::span<const std::uint8_t> data, BlockSink& sink) const;
  void Decode(std::span<const std::uint8_t> block, BlockSink& sink) const;

 private:
  ProgressListener progress_;
};

}  // namespace penlark
