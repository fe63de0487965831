#pragma once

#include "platform/Files.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

// Transform: RTF files to the server's XML document form and back.
//
// The form is a lexical transcription of the RTF token stream: each "{" and "}" becomes the
// start and end of a `G`, each control word or symbol a `C` holding the token verbatim in its
// `id`, each run of text a `D`. Reading it back writes the concatenation of those values, so an
// RTF file comes back byte for byte, except that CR LF and lone CR in text come back as LF, a
// tab inside a control token comes back as a space, and braces that do not balance or bytes
// that XML forbids give text that does not load.
//
// Text inside the program is UTF-8; RTF bytes pass through the ANSI code page (platform/CodePage).
// The module keeps no state between calls.
namespace penlark {

// A file that cannot be read or written (missing, unreadable, unwritable); what() is the system's
// message, Path() the file concerned.
class ConversionError : public std::runtime_error {
 public:
  ConversionError(std::string path, std::error_code code)
      : std::runtime_error(code.message()), path_(std::move(path)), code_(code) {}
  explicit ConversionError(const std::filesystem::filesystem_error& error)
      : ConversionError(Utf8Text(error.path1()), error.code()) {}

  const std::string& Path() const { return path_; }
  std::error_code Code() const { return code_; }

 private:
  std::string path_;
  std::error_code code_;
};

// The document of an RTF file in the server's XML document form, as UTF-8 text; empty text for
// an empty file. A path that names no file is an error: nothing is ever created by reading.
std::string RtfFileToXml(const std::filesystem::path& rtfPath);  // throws ConversionError

// The same document written as the file at xmlPath, replacing it as a whole (an empty file for an
// empty RTF file). The RTF is read and the XML written piece by piece, so neither is held in
// memory whole; a failure leaves xmlPath as it was.
void RtfFileToXmlFile(const std::filesystem::path& rtfPath,
                      const std::filesystem::path& xmlPath);  // throws ConversionError

// Writes the RTF file from the server's XML document form; false (and no file touched) when the
// text is not a loadable XML document. True, with the file at rtfPath left as it was, when the
// text loads but its root is not `Document` (use ConvertXmlToRtfFile to tell the two apart).
// The file is written beside the target and renamed over it, so a failure never leaves it
// half-written; it is readable and writable by its owner only (0600).
bool XmlToRtfFile(std::string_view xmlText,
                  const std::filesystem::path& rtfPath);  // throws ConversionError

// What reading the server's XML document form found.
enum class XmlDocumentStatus {
  Converted,    // the root is `Document`: the RTF was produced (and written)
  NoDocument,   // well-formed, but the root is not `Document`: nothing produced or written
  NotLoadable,  // not well-formed XML, or with a document type declaration, or with markup
                // beyond the bounds of platform/XmlMarkupBounds: nothing written
};

// XmlToRtfFile with the full outcome.
XmlDocumentStatus ConvertXmlToRtfFile(
    std::string_view xmlText,
    const std::filesystem::path& rtfPath);  // throws ConversionError

// The same two conversions on bytes held in memory.

// RTF bytes to the XML document form (UTF-8); empty text for no bytes.
std::string RtfToXml(std::string_view rtf);

struct RtfFromXml {
  XmlDocumentStatus status = XmlDocumentStatus::NotLoadable;
  std::string rtf;  // the RTF bytes, in the ANSI code page, when status is Converted
};

// The XML document form (UTF-8) to RTF bytes.
RtfFromXml XmlToRtf(std::string_view xmlText);

}  // namespace penlark
