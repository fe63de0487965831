// rtfxml: converts RTF files to the server's XML document form and back.

#include "conversion/Transform.h"
#include "platform/Files.h"
#include "platform/ProgramArguments.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUsage = R"(Usage: rtfxml to-xml IN.rtf OUT.xml
       rtfxml to-rtf IN.xml OUT.rtf

Commands:
  to-xml    writes the document of an RTF file in the XML document form (UTF-8)
  to-rtf    writes the RTF file back from the XML document form (read as UTF-8)

"-" stands for standard input or standard output.

Exit status: 0 on success (also when to-rtf finds no top-level Document element, in which
case OUT is left as it was and a warning is printed), 1 when to-rtf cannot load the XML
document (OUT is left as it was), 2 when a file cannot be read or written or on a usage error.
)";

constexpr std::string_view kStandardStream = "-";

std::string ReadInput(const std::string& path) {
  return path == kStandardStream
             ? penlark::ReadToEnd<std::string>(penlark::kStandardInput, "standard input")
             : penlark::ReadWholeFile<std::string>(penlark::Utf8Path(path));
}

void WriteOutput(const std::string& path, std::string_view bytes) {
  if (path == kStandardStream) {
    penlark::WriteAll(penlark::kStandardOutput, bytes, "standard output");
  } else {
    penlark::ReplaceFile(penlark::Utf8Path(path), bytes);
  }
}

int ToXml(const std::string& in, const std::string& out) {
  if (in != kStandardStream && out != kStandardStream) {
    penlark::RtfFileToXmlFile(penlark::Utf8Path(in), penlark::Utf8Path(out));
    return 0;
  }
  const std::string xml = in == kStandardStream ? penlark::RtfToXml(ReadInput(in))
                                                : penlark::RtfFileToXml(penlark::Utf8Path(in));
  WriteOutput(out, xml);
  return 0;
}

int ToRtf(const std::string& in, const std::string& out) {
  const penlark::RtfFromXml result = penlark::XmlToRtf(ReadInput(in));
  switch (result.status) {
    case penlark::XmlDocumentStatus::NotLoadable:
      std::cerr << "ERROR: Unable to load the XML document\n";
      return 1;
    case penlark::XmlDocumentStatus::NoDocument:
      std::cerr << "rtfxml: warning: " << in
                << " has no top-level Document element; nothing written to " << out << '\n';
      return 0;
    case penlark::XmlDocumentStatus::Converted:
      WriteOutput(out, result.rtf);
      return 0;
  }
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> args = penlark::ProgramArguments(argc, argv);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    std::cout << kUsage;
    return 0;
  }
  if (args.size() != 3 || (args[0] != "to-xml" && args[0] != "to-rtf")) {
    std::cerr << "rtfxml: expected a command and two files\n\n" << kUsage;
    return 2;
  }
  try {
    return args[0] == "to-xml" ? ToXml(args[1], args[2]) : ToRtf(args[1], args[2]);
  } catch (const penlark::ConversionError& error) {
    std::cerr << "rtfxml: " << error.Path() << ": " << error.what() << '\n';
  } catch (const std::filesystem::filesystem_error& error) {
    std::cerr << "rtfxml: " << penlark::Utf8Text(error.path1()) << ": " << error.code().message()
              << '\n';
  } catch (const std::exception& error) {
    std::cerr << "rtfxml: " << error.what() << '\n';
  }
  return 2;
}
