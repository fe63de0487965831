#include "conversion/Transform.h"
#include "support/TempDir.h"

#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// The RTF bytes the text gives; fails the test when the text does not give a document.
std::string Rtf(std::string_view xml) {
  const RtfFromXml result = XmlToRtf(xml);
  EXPECT_EQ(result.status, XmlDocumentStatus::Converted) << xml;
  return result.rtf;
}

std::string InDocument(std::string_view body) {
  return "<?xml version=\"1.0\"?>\r\n<Document>" + std::string(body) + "</Document>";
}

XmlDocumentStatus StatusOf(std::string_view xml) {
  return XmlToRtf(xml).status;
}

TEST(XmlToRtfReading, ShortDocumentGivesItsRtfBytes) {
  const std::string rtf = "{\\rtf1 Hello\\par }";
  EXPECT_EQ(Rtf(RtfToXml(rtf)), rtf);
}

TEST(XmlToRtfReading, GroupsControlsAndTextAreConcatenatedInOrder) {
  EXPECT_EQ(Rtf(InDocument("<G><C id=\"\\b \"/><D>x</D><G><C id=\"\\i\"/></G></G><D>y</D>")),
            "{\\b x{\\i}}y");
}

TEST(XmlToRtfReading, EmptyDocumentGivesNoBytes) {
  EXPECT_EQ(Rtf("<Document/>"), "");
}

TEST(XmlToRtfReading, ControlWithoutIdWritesNothingAndOtherAttributesAreIgnored) {
  EXPECT_EQ(Rtf(InDocument("<C/><C other=\"x\" id=\"\\par \"/>")), "\\par ");
}

TEST(XmlToRtfReading, ContentOfAControlIsIgnored) {
  EXPECT_EQ(Rtf(InDocument("<C id=\"\\b\"><D>lost</D></C><D>kept</D>")), "\\bkept");
}

TEST(XmlToRtfReading, OtherElementsAreSkippedWithTheirContent) {
  EXPECT_EQ(Rtf(InDocument("<X><D>a</D><G><D>b</D></G></X><D>c</D><G><Y/><D>d</D></G>")), "c{d}");
  EXPECT_EQ(Rtf(InDocument("<G><Document><D>a</D></Document></G>")), "{}");
}

TEST(XmlToRtfReading, TextCommentsAndInstructionsStandingInDocumentOrGroupAreIgnored) {
  EXPECT_EQ(Rtf("<Document>\r\n  text <!-- note --><?pi x?>\r\n  <G>\n    more\n    <D>x</D>\n  "
                "</G>\n</Document>"),
            "{x}");
}

TEST(XmlToRtfReading, TextTakesAllCharacterDataWithinIt) {
  EXPECT_EQ(Rtf(InDocument("<D>a<G>b</G><X>c<D>d</D></X><!-- no --><?pi no?>e</D>")), "abcde");
  EXPECT_EQ(Rtf(InDocument("<D><![CDATA[a<b & {c}]]></D>")), "a<b & {c}");
}

TEST(XmlToRtfReading, WhitespaceInTextIsKept) {
  EXPECT_EQ(Rtf(InDocument("<D> \t a\n\n b </D><D>   </D>")), " \t a\n\n b    ");
}

TEST(XmlToRtfReading, EntitiesAndCharacterReferencesAreResolved) {
  EXPECT_EQ(Rtf(InDocument("<D>&lt;&gt;&quot;&amp;&apos;&#65;&#x42;&#233;</D>")), "<>\"&'AB\xE9");
  EXPECT_EQ(Rtf(InDocument("<C id=\"\\x&lt;&gt;&quot;&amp;&apos;&#65;&#x42;&amp;#38;\"/>")),
            "\\x<>\"&'AB&#38;");
}

TEST(XmlToRtfReading, NamesAreComparedExactly) {
  EXPECT_EQ(Rtf(InDocument("<g><D>a</D></g><d>b</d><c id=\"\\c\"/><C ID=\"\\C\"/><D>ok</D>")),
            "ok");
  EXPECT_EQ(Rtf(InDocument("<C xml:id=\"\\x\"/><C xmlns:p=\"urn:p\" p:id=\"\\p\"/>")), "");
  EXPECT_EQ(Rtf("<Document xmlns=\"urn:default\"><D>a</D></Document>"), "a");
  EXPECT_EQ(StatusOf("<p:Document xmlns:p=\"urn:p\"><D>a</D></p:Document>"),
            XmlDocumentStatus::NoDocument);
}

TEST(XmlToRtfReading, RootThatIsNotDocumentGivesNoDocument) {
  EXPECT_EQ(StatusOf("<?xml version=\"1.0\"?><Other><Document><D>a</D></Document></Other>"),
            XmlDocumentStatus::NoDocument);
  EXPECT_EQ(StatusOf("<document/>"), XmlDocumentStatus::NoDocument);
}

TEST(XmlToRtfReading, TextThatIsNotWellFormedIsNotLoadable) {
  for (const std::string_view xml : {
           "",
           "   ",
           "plain text",
           "<Document>",
           "<Document><G></Document>",
           "<Document><G></G></G></Document>",
           "<Document></Document><Document/>",
           "<Document><D>a & b</D></Document>",
           "<Document><D>&undeclared;</D></Document>",
           "<Document><C id=\"a<b\"/></Document>",
           "<Document><C id=\"1\" id=\"2\"/></Document>",
           "<Document><D>\x01</D></Document>",
           "<Document><D>\xC3</D></Document>",
       }) {
    EXPECT_EQ(StatusOf(xml), XmlDocumentStatus::NotLoadable) << xml;
  }
}

TEST(XmlToRtfReading, OutputOfUnbalancedRtfIsNotLoadable) {
  EXPECT_EQ(StatusOf(RtfToXml("{a}}")), XmlDocumentStatus::NotLoadable);
  EXPECT_EQ(StatusOf(RtfToXml("{{a}")), XmlDocumentStatus::NotLoadable);
}

TEST(XmlToRtfReading, TextIsTakenAsUtf8WhateverItsDeclarationSays) {
  EXPECT_EQ(
      Rtf("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Document><D>\u00E9</D></Document>"),
      "\xE9");
  EXPECT_EQ(Rtf("\xEF\xBB\xBF<Document><D>bom</D></Document>"), "bom");
  // UTF-16 is not detected from the first bytes: NUL characters are not allowed in XML.
  EXPECT_EQ(StatusOf(std::string("<\0D\0/\0>\0", 8)), XmlDocumentStatus::NotLoadable);
}

TEST(XmlToRtfCodePage, CharactersAreWrittenInTheAnsiCodePage) {
  EXPECT_EQ(Rtf(InDocument("<D>caf\u00E9 \u20AC \u201Cq\u201D</D><C id=\"\\\u00FC\"/>")),
            "caf\xE9 \x80 \x93q\x94\\\xFC");
}

TEST(XmlToRtfCodePage, CharactersTheCodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(Rtf(InDocument("<D>\u4E2D\U0001F600\u0100</D><C id=\"\\\u0416\"/>")), "???\\?");
}

TEST(XmlToRtfDifferences, LineEndsInTextComeBackAsLineFeeds) {
  EXPECT_EQ(Rtf(InDocument("<D>a\r\nb\rc\nd</D>")), "a\nb\nc\nd");
  EXPECT_EQ(Rtf(RtfToXml("{\\par\r\nx\ry}")), "{\\par\nx\ny}");
}

TEST(XmlToRtfDifferences, TabInAnIdComesBackAsASpace) {
  EXPECT_EQ(Rtf(RtfToXml("{\\x\ty\tz}")), "{\\x y z}");
  EXPECT_EQ(Rtf(RtfToXml("{a\tb}")), "{a\tb}");
}

// The form never needs a document type declaration; with one nothing is read, so that no
// entity is expanded (quadratically or exponentially) and none is fetched.
TEST(XmlToRtfSafety, DocumentTypeDeclarationsAreRefused) {
  TempDir dir;
  WriteFile(dir / "secret.txt", "SECRET");
  const std::string url = "file://" + (dir / "secret.txt").string();
  std::string quadratic = "<!DOCTYPE Document [<!ENTITY a \"" + std::string(100'000, 'x') + "\">]>";
  quadratic += "<Document><D>";
  for (int i = 0; i < 20'000; ++i) {
    quadratic += "&a;";
  }
  for (const std::string& xml : {
           std::string(
               "<!DOCTYPE Document [<!ENTITY e \"\\par \">]><Document><D>&e;</D></Document>"),
           std::string("<!DOCTYPE Document><Document/>"),
           "<!DOCTYPE Document [<!ENTITY x SYSTEM \"" + url +
               "\">]><Document><D>&x;</D></Document>",
           "<!DOCTYPE Document SYSTEM \"" + url + "\"><Document/>",
           quadratic + "</D></Document>",
       }) {
    EXPECT_EQ(StatusOf(xml), XmlDocumentStatus::NotLoadable) << xml.substr(0, 80);
  }
}

// Elements with many attributes would cost the parser time in the square of their number.
TEST(XmlToRtfSafety, ElementsWithManyAttributesAreRefused) {
  const auto control = [](int attributes) {
    std::string element = "<C id=\"x\"";
    for (int i = 1; i < attributes; ++i) {
      element += " a" + std::to_string(i) + "=''";
    }
    return InDocument(element + "/>");
  };
  EXPECT_EQ(StatusOf(control(200'000)), XmlDocumentStatus::NotLoadable);
  EXPECT_EQ(StatusOf(control(33)), XmlDocumentStatus::NotLoadable);
  EXPECT_EQ(Rtf(control(32)), "x");
}

// Whatever nesting RtfToXml writes loads again, read without recursion.
TEST(XmlToRtfSafety, DeepNestingIsReadWithoutExhaustingTheStack) {
  for (const int depth : {10'000, 200'000}) {
    const std::string rtf = std::string(static_cast<std::size_t>(depth), '{') + "x" +
                            std::string(static_cast<std::size_t>(depth), '}');
    const std::string back = Rtf(RtfToXml(rtf));
    EXPECT_EQ(back.size(), rtf.size());
    EXPECT_TRUE(back == rtf) << depth;
  }
}

class XmlToRtfFileTest : public ::testing::Test {
 protected:
  std::string PathOf(std::string_view name) const { return (dir_ / name).string(); }
  std::size_t EntriesInDir() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                                                  std::filesystem::directory_iterator()));
  }

  TempDir dir_;
};

TEST_F(XmlToRtfFileTest, WritesTheRtfFile) {
  EXPECT_TRUE(XmlToRtfFile(RtfToXml("{\\rtf1 x}"), PathOf("a.rtf")));
  EXPECT_EQ(ReadFile(PathOf("a.rtf")), "{\\rtf1 x}");
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(XmlToRtfFileTest, EmptyDocumentCreatesAnEmptyFile) {
  EXPECT_TRUE(XmlToRtfFile("<Document/>", PathOf("a.rtf")));
  EXPECT_EQ(ReadFile(PathOf("a.rtf")), "");
}

// Windows keeps access rights in access lists, which a replacement inherits from its folder.
#ifndef _WIN32
TEST_F(XmlToRtfFileTest, ReplacesAnExistingFileForItsOwnerOnly) {
  WriteFile(PathOf("a.rtf"), "old and longer content");
  ASSERT_EQ(::chmod(PathOf("a.rtf").c_str(), 0644), 0);
  EXPECT_TRUE(XmlToRtfFile(InDocument("<D>new</D>"), PathOf("a.rtf")));
  EXPECT_EQ(ReadFile(PathOf("a.rtf")), "new");
  struct stat status {};
  ASSERT_EQ(::stat(PathOf("a.rtf").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
  EXPECT_EQ(EntriesInDir(), 1u);
}
#endif

TEST_F(XmlToRtfFileTest, TextThatDoesNotLoadTouchesNoFile) {
  EXPECT_FALSE(XmlToRtfFile("<Document><G></Document>", PathOf("new.rtf")));
  EXPECT_FALSE(std::filesystem::exists(PathOf("new.rtf")));
  WriteFile(PathOf("old.rtf"), "old");
  EXPECT_FALSE(XmlToRtfFile(RtfToXml("{a}}"), PathOf("old.rtf")));
  EXPECT_EQ(ReadFile(PathOf("old.rtf")), "old");
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(XmlToRtfFileTest, RootThatIsNotDocumentLeavesTheFileAsItWas) {
  EXPECT_TRUE(XmlToRtfFile("<Other><D>a</D></Other>", PathOf("new.rtf")));
  EXPECT_FALSE(std::filesystem::exists(PathOf("new.rtf")));
  WriteFile(PathOf("old.rtf"), "old");
  EXPECT_EQ(ConvertXmlToRtfFile("<Other/>", PathOf("old.rtf")), XmlDocumentStatus::NoDocument);
  EXPECT_EQ(ReadFile(PathOf("old.rtf")), "old");
}

TEST_F(XmlToRtfFileTest, MissingFolderIsAnError) {
  try {
    XmlToRtfFile("<Document/>", PathOf("nowhere/a.rtf"));
    FAIL() << "no error for a missing folder";
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.Code(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(error.Path(), PathOf("nowhere/a.rtf"));
  }
  EXPECT_EQ(EntriesInDir(), 0u);
}

TEST_F(XmlToRtfFileTest, FailureHalfWayLeavesTheTargetAndNoStrayFile) {
  // A folder in the way: the new file is written but cannot be renamed over it.
  std::filesystem::create_directory(PathOf("a.rtf"));
  WriteFile(PathOf("a.rtf/inside"), "kept");
  EXPECT_THROW(XmlToRtfFile(InDocument("<D>x</D>"), PathOf("a.rtf")), ConversionError);
  EXPECT_EQ(ReadFile(PathOf("a.rtf/inside")), "kept");
  EXPECT_EQ(EntriesInDir(), 1u);
}

}  // namespace
}  // namespace penlark
