#pragma once

#include <cstddef>
#include <string>

namespace penlark::bench {

// A deterministic RTF document of about `targetSize` bytes shaped like word-processor output:
// font, colour and style tables, an information group, paragraphs of text in runs of control
// words with escapes, \'hh symbols and \uN characters, CR LF line breaks, and pictures as long
// blocks of hexadecimal digits.
std::string GenerateRtf(std::size_t targetSize);

}  // namespace penlark::bench
