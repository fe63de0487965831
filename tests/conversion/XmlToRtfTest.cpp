#include "conversion/Transform.h"
#include "support/SameBytes.h"
#include "support/TempDir.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// The RTF bytes the text gives; fails the test when the text does not give a document.
std::string Rtf(std::string_view xml) {
  const RtfFromXml result = XmlToRtf(xml);
  EXPECT_EQ(result.status, XmlDocumentStatus::Converted) << xml.substr(0, 80);
  return result.rtf;
}

std::string InDocument(std::string_view body) {
  return "<?xml version=\"1.0\"?>\r\n<Document>" + std::string(body) + "</Document>";
}

// A document of one control element with this many attributes.
std::string Control(int attributes) {
  std::string element = "<C id=\"x\"";
  for (int i = 1; i < attributes; ++i) {
    element += " a" + std::to_string(i) + "=''";
  }
  return InDocument(element + "/>");
}

// The RTF each text gives; one row per rule.
TEST(XmlToRtfReading, ConcatenatesTheIdsAndTextsInOrder) {
  const struct {
    std::string xml, rtf;
    const char* rule;
  } cases[] = {
      {InDocument("<G><C id=\"\\b \"/><D>x</D><G><C id=\"\\i\"/></G></G><D>y</D>"), "{\\b x{\\i}}y",
       "groups, controls and texts in order"},
      {"<Document/>", "", "an empty document gives no bytes"},
      {InDocument("<C/><C other=\"x\" id=\"\\par \"/>"), "\\par ",
       "a control without id writes nothing, other attributes are ignored"},
      {InDocument("<X><D>a</D><G><D>b</D></G></X><D>c</D><G><Y/><D>d</D></G>"), "c{d}",
       "other elements are skipped with their content"},
      {"<Document>\r\n  text <!-- note --><?pi x?>\r\n  <G>\n    more\n    <D>x</D>\n  </G>\n"
       "</Document>",
       "{x}", "text, comments and instructions in Document or G are ignored"},
      {InDocument("<D>a<G>b</G><X>c<D>d</D></X><!-- no --><?pi no?>e</D>"), "abcde",
       "a text takes all character data within it"},
      {InDocument("<D><![CDATA[a<b & {c}]]></D>"), "a<b & {c}", "CDATA too"},
      {InDocument("<D>&lt;&gt;&quot;&amp;&apos;&#65;&#x42;&#233;</D>"), "<>\"&'AB\xE9",
       "entities and character references are resolved in text"},
      {InDocument("<C id=\"\\x&lt;&gt;&quot;&amp;&apos;&#65;&#x42;&amp;#38;\"/>"),
       "\\x<>\"&'AB&#38;", "and in ids"},
      {InDocument("<g><D>a</D></g><d>b</d><c id=\"\\c\"/><C ID=\"\\C\"/><D>ok</D>"), "ok",
       "names are compared exactly"},
      {InDocument("<C xml:id=\"\\x\"/><C xmlns:p=\"urn:p\" p:id=\"\\p\"/>"), "",
       "prefixed ids are not ids"},
      {"<Document xmlns=\"urn:default\"><D>a</D></Document>", "a", "a default namespace is fine"},
      {"\xEF\xBB\xBF<Document><D>bom</D></Document>", "bom", "a UTF-8 byte order mark"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Document><D>\u00E9</D></Document>", "\xE9",
       "the text is UTF-8 whatever its declaration says"},
      {InDocument("<D>caf\u00E9 \u20AC \u201Cq\u201D</D><C id=\"\\\u00FC\"/>"),
       "caf\xE9 \x80 \x93q\x94\\\xFC", "characters are written in the ANSI code page"},
      {InDocument("<D>\u4E2D\U0001F600\u0100</D><C id=\"\\\u0416\"/>"), "???\\?",
       "characters the code page lacks become question marks"},
      {InDocument("<D>a\r\nb\rc\nd</D>"), "a\nb\nc\nd", "line ends come back as line feeds"},
      {RtfToXml("{\\x\ty\tz}"), "{\\x y z}", "a tab in an id comes back as a space"},
      {RtfToXml("{a\tb}"), "{a\tb}", "a tab in text stays"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(Rtf(row.xml), row.rtf) << row.rule;
  }
  // Whatever nesting RtfToXml writes loads again, read without recursion.
  const std::string deep = std::string(200'000, '{') + "x" + std::string(200'000, '}');
  EXPECT_TRUE(testing::SameBytes(Rtf(RtfToXml(deep)), deep));
}

TEST(XmlToRtfReading, TextThatIsNotADocumentSaysWhy) {
  std::vector<std::pair<std::string, XmlDocumentStatus>> cases = {
      {"<p:Document xmlns:p=\"urn:p\"><D>a</D></p:Document>", XmlDocumentStatus::NoDocument},
      {"<document/>", XmlDocumentStatus::NoDocument},
      {"", XmlDocumentStatus::NotLoadable},
      {"<Document><G></Document>", XmlDocumentStatus::NotLoadable},
      {"<Document></Document><Document/>", XmlDocumentStatus::NotLoadable},
      {"<Document><D>a & b</D></Document>", XmlDocumentStatus::NotLoadable},
      {"<Document><D>&undeclared;</D></Document>", XmlDocumentStatus::NotLoadable},
      {RtfToXml("{a}}"), XmlDocumentStatus::NotLoadable},
      // UTF-16 is not detected from the first bytes: NUL characters are not allowed in XML.
      {std::string("<\0D\0/\0>\0", 8), XmlDocumentStatus::NotLoadable},
      // Elements with many attributes would cost the parser time in the square of their number.
      {Control(33), XmlDocumentStatus::NotLoadable},
      // The form never needs a document type declaration; with one nothing is read, so that no
      // entity is expanded and none is fetched.
      {"<!DOCTYPE Document><Document/>", XmlDocumentStatus::NotLoadable},
      {"<!DOCTYPE Document [<!ENTITY e \"\\par \">]><Document><D>&e;</D></Document>",
       XmlDocumentStatus::NotLoadable},
  };
  for (char byte = 0; byte < 0x20; ++byte) {  // control characters but tab and line ends
    if (byte != '\t' && byte != '\n' && byte != '\r') {
      cases.emplace_back(RtfToXml(std::string("{a") + byte + "}"), XmlDocumentStatus::NotLoadable);
    }
  }
  for (const auto& [xml, status] : cases) {
    EXPECT_EQ(XmlToRtf(xml).status, status) << xml.substr(0, 80);
  }
}

// What each text does to a file that exists and to one that does not: only a document replaces
// the one and creates the other, for its owner's eyes only. A file that cannot be written is an
// error that leaves no stray file.
TEST(XmlToRtfFile, OnlyADocumentIsWritten) {
  const std::pair<std::string, XmlDocumentStatus> cases[] = {
      {RtfToXml("{\\rtf1 x}"), XmlDocumentStatus::Converted},
      {"<Other><D>a</D></Other>", XmlDocumentStatus::NoDocument},
      {"<Document><G></Document>", XmlDocumentStatus::NotLoadable},
  };
  for (const auto& [xml, status] : cases) {
    SCOPED_TRACE(xml);
    TempDir dir;
    const std::string old = (dir / "old.rtf").string();
    WriteFile(old, "old and longer content");
    std::filesystem::permissions(old, std::filesystem::perms(0644));
    EXPECT_EQ(XmlToRtfFile(xml, (dir / "new.rtf").string()),
              status != XmlDocumentStatus::NotLoadable);
    EXPECT_EQ(ConvertXmlToRtfFile(xml, old), status);
    const bool written = status == XmlDocumentStatus::Converted;
    EXPECT_EQ(ReadFile(old), written ? "{\\rtf1 x}" : "old and longer content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), written ? 2 : 1);
#ifndef _WIN32  // Windows keeps access rights in lists that a replacement inherits.
    EXPECT_EQ(std::filesystem::status(old).permissions(),
              std::filesystem::perms(written ? 0600 : 0644));
#endif
  }
  TempDir dir;
  std::filesystem::create_directory(dir / "a.rtf");  // the new file cannot be renamed over it
  for (const auto& path : {dir / "nowhere" / "a.rtf", dir / "a.rtf"}) {
    EXPECT_THROW(XmlToRtfFile("<Document/>", path.string()), ConversionError) << path;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "a.rtf"));
}

}  // namespace
}  // namespace penlark
