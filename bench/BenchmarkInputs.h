#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace penlark::bench {

using Bytes = std::vector<std::uint8_t>;

// `size` bytes of text, the same on every Debian machine: the licence texts and the Python
// standard library's sources, in path order, repeated. Where neither is installed, pseudo-text
// made of words drawn with a fixed seed.
Bytes TextCorpus(std::size_t size);

// `size` bytes from a pseudo-random generator with a fixed seed.
Bytes RandomBytes(std::size_t size);

// An RTF document of plain paragraphs with some bold and italic runs, of about `size` bytes.
std::string SampleRtf(std::size_t size);

}  // namespace penlark::bench
