// RTF bytes to the XML form must never crash, and when the braces balance and every byte is
// legal in XML, the form must read back to the same bytes up to what XML itself changes: line
// ends in text become LF and a tab inside a control token becomes a space. The body transcribed
// in pieces of 1 to 8 bytes (the first byte says how long) must be the body of one piece.

#include "conversion/RtfTranscriber.h"
#include "conversion/Transform.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool IsEscapePair(std::string_view rtf, std::size_t i) {
  return rtf[i] == '\\' && i + 1 < rtf.size() &&
         (rtf[i + 1] == '\\' || rtf[i + 1] == '{' || rtf[i + 1] == '}');
}

bool IsDelimiter(char c) {
  return c == ' ' || c == ';' || c == '\r' || c == '\n' || c == '\\' || c == '{' || c == '}';
}

// Whether the unescaped braces nest (at any depth: the reader accepts any).
bool BracesBalance(std::string_view rtf) {
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (IsEscapePair(rtf, i)) {
      ++i;
    } else if (rtf[i] == '{') {
      ++depth;
    } else if (rtf[i] == '}' && --depth < 0) {
      return false;
    }
  }
  return depth == 0;
}

bool AllLegalInXml(std::string_view rtf) {
  for (const char c : rtf) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      return false;
    }
  }
  return true;
}

// The input as it must come back.
std::string Expected(std::string_view rtf) {
  std::string out;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (IsEscapePair(rtf, i)) {
      out += rtf.substr(i, 2);
      ++i;
    } else if (rtf[i] == '\\') {
      out += '\\';
      for (; i + 1 < rtf.size() && !IsDelimiter(rtf[i + 1]); ++i) {
        out += rtf[i + 1] == '\t' ? ' ' : rtf[i + 1];
      }
    } else if (rtf[i] == '\r') {
      out += '\n';
      if (i + 1 < rtf.size() && rtf[i + 1] == '\n') {
        ++i;
      }
    } else {
      out += rtf[i];
    }
  }
  return out;
}

bool PiecesGiveTheSameBody(std::string_view rtf) {
  std::string whole;
  penlark::RtfTranscriber().Feed(rtf, true, whole);
  const std::size_t length = 1 + static_cast<unsigned char>(rtf[0]) % 8;
  penlark::RtfTranscriber transcriber;
  std::string pieces;
  // Each piece brings `length` new bytes after those the last one did not take.
  std::size_t at = 0;
  for (std::size_t end = 0; end < rtf.size();) {
    end = std::min(rtf.size(), end + length);
    at += transcriber.Feed(rtf.substr(at, end - at), end == rtf.size(), pieces);
  }
  return pieces == whole;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view rtf(reinterpret_cast<const char*>(data), size);
  const std::string xml = penlark::RtfToXml(rtf);
  if (rtf.empty()) {
    if (!xml.empty()) {
      std::abort();
    }
    return 0;
  }
  if (!PiecesGiveTheSameBody(rtf)) {
    std::abort();
  }
  const penlark::RtfFromXml back = penlark::XmlToRtf(xml);
  if (BracesBalance(rtf) && AllLegalInXml(rtf)) {
    if (back.status != penlark::XmlDocumentStatus::Converted || back.rtf != Expected(rtf)) {
      std::abort();
    }
  }
  return 0;
}
