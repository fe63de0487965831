#include "protocol/SoapEnvelope.h"

#include <optional>

#include <gtest/gtest.h>

namespace penlark::soap {
namespace {

std::string Envelope(std::string_view bodyContent) {
  return std::string(
             R"(<?xml version="1.0"?><e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"><e:Body>)") +
         std::string(bodyContent) + "</e:Body></e:Envelope>";
}

TEST(RequestEnvelope, WithoutContentHoldsOnlyTheRequestParameter) {
  const std::string envelope = BuildRequestEnvelope("r", "");
  EXPECT_NE(envelope.find(R"(<ns1 xsi:type="xsd:string">r</ns1></method:sendRequest>)"),
            std::string::npos);
  EXPECT_EQ(envelope.find("ns2"), std::string::npos);
}

TEST(RequestEnvelope, WithContentHoldsBothParametersInOrder) {
  const std::string envelope = BuildRequestEnvelope("r", "doc");
  EXPECT_NE(envelope.find(R"(<ns1 xsi:type="xsd:string">r</ns1>)"
                          R"(<ns2 xsi:type="xsd:string">doc</ns2></method:sendRequest>)"),
            std::string::npos);
}

TEST(RequestEnvelope, EscapesMarkupAndCarriageReturnsInCharacterData) {
  const std::string envelope = BuildRequestEnvelope("a&b<c>\"d'", "line\r\nnext\ttab");
  EXPECT_NE(envelope.find(">a&amp;b&lt;c&gt;\"d'</ns1>"), std::string::npos);
  EXPECT_NE(envelope.find(">line&#13;\nnext\ttab</ns2>"), std::string::npos);
}

std::string Utf16(std::string_view latin1) {
  std::string utf16 = "\xFF\xFE";
  for (const char c : latin1) {
    utf16 += std::string{c, '\0'};
  }
  return utf16;
}

// One row per reply: whether it is well formed, its fault if any, and its result.
TEST(ReadReply, GivesTheReturnTextOrTheFault) {
  const std::optional<std::string> none;
  const struct {
    std::string body;
    bool wellFormed;
    std::optional<std::string> fault;
    std::string result;
  } cases[] = {
      {Envelope(
           R"(<m:r xmlns:m="urn:x"><return xsi:type="xsd:string">&lt;files/&gt;</return></m:r>)"),
       true, none, "<files/>"},
      {Envelope("<r><return>one</return><x><return>two</return></x></r>"), true, none, "onetwo"},
      {Envelope(
           R"(<r xmlns:p="urn:p"><p:return>a</p:return><Return>b</Return><return>c</return></r>)"),
       true, none, "c"},
      {Envelope("<r/>"), true, none, ""},
      {Envelope("<r><return>a&#xD;&#13;b&#233;<![CDATA[<c>&amp;]]></return></r>"), true, none,
       "a\r\rb\u00E9<c>&amp;"},
      {Envelope("<e:Fault><faultcode>e:Server</faultcode><faultstring>x &amp; y</faultstring>"
                "</e:Fault>"),
       true, "x & y", ""},
      {Envelope("<e:Fault><faultcode>e:Server</faultcode></e:Fault>"), true, "", ""},
      {Envelope(R"(<Fault xmlns="urn:other"><faultstring>x</faultstring></Fault>)"), true, none,
       ""},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><return>caf\xE9</return></r>", true, none,
       "caf\u00E9"},
      {Utf16("<r><return>\xE9</return></r>"), true, none, "\u00E9"},
      {"", false, none, ""},
      {"<html><body>Bad gateway", false, none, ""},
      {"Internal Server Error", false, none, ""},
  };
  for (const auto& row : cases) {
    const Reply reply = ReadReply(row.body);
    EXPECT_EQ(reply.wellFormed, row.wellFormed) << row.body;
    EXPECT_EQ(reply.fault, row.fault) << row.body;
    EXPECT_EQ(reply.result, row.result) << row.body;
  }
}

TEST(ReadReply, SaysNothingOnStandardErrorAboutABrokenEncoding) {
  const std::string body = std::string(R"(<?xml version="1.0" encoding="SHIFT_JIS"?><r>)") +
                           std::string(8, '\0') + "\xFF\xFE\x80\x80";
  ::testing::internal::CaptureStderr();
  const Reply reply = ReadReply(body);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(reply.wellFormed);
}

TEST(ReadReply, RefusesDocumentTypeDeclarations) {
  const std::string withEntities = R"(<?xml version="1.0"?>
<!DOCTYPE r [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">]>
<r><return>&b;</return></r>)";
  EXPECT_FALSE(ReadReply(withEntities).wellFormed);
  EXPECT_FALSE(ReadReply(R"(<!DOCTYPE r SYSTEM "file:///etc/passwd"><r><return/></r>)").wellFormed);
}

// Markup that would cost the parser time in the square of its size: the attributes of one
// element, and namespace declarations in scope (each prefix is looked up among all of them),
// whatever the encoding hides them in.
TEST(ReadReply, RefusesFloodsOfAttributesAndNamespaces) {
  const auto attributesOf = [](int count) {
    std::string attributes;
    for (int i = 0; i < count; ++i) {
      attributes += " a" + std::to_string(i) + "=\"\"";
    }
    return attributes;
  };
  const std::string attributes = attributesOf(50'000);
  std::string nested;
  for (int i = 0; i < 65; ++i) {
    nested += "<n xmlns:p" + std::to_string(i) + "=\"urn:x\">";
  }
  std::string utf16;
  for (const char c : "<r" + attributes + "><return/></r>") {
    utf16 += std::string{c, '\0'};
  }
  for (const std::string& body : {"<r" + attributes + "><return/></r>",
                                  "<r>" + nested + "<return/></r>", "\xFF\xFE" + utf16}) {
    EXPECT_FALSE(ReadReply(body).wellFormed) << body.substr(0, 40);
  }
  EXPECT_TRUE(ReadReply("<r" + attributesOf(32) + "><return/></r>").wellFormed);
}

// Large replies: the fast way must agree with the parser whenever it answers.

std::string LargeText() {
  std::string text;
  while (text.size() < 100'000) {
    text += "&lt;p a=&quot;1&quot;&gt;caf\u00E9 &amp; \u20AC\r\n&#13;line\rnext]]&gt;&lt;/p&gt;\n";
  }
  return text;
}

std::string LargeReply(std::string_view beforeText, std::string_view afterText) {
  return std::string(R"(<?xml version="1.0" encoding="utf-8"?>)"
                     R"(<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"><e:Body>)"
                     R"(<m:r xmlns:m="urn:m">)") +
         std::string(beforeText) + LargeText() + std::string(afterText) +
         "</m:r></e:Body></e:Envelope>";
}

void ExpectSameReply(const Reply& actual, const Reply& expected) {
  EXPECT_EQ(actual.wellFormed, expected.wellFormed);
  EXPECT_EQ(actual.fault, expected.fault);
  EXPECT_EQ(actual.result, expected.result);
}

TEST(ReadLargeReply, FastWayGivesWhatTheParserGives) {
  for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
           {R"(<return xsi:type="xsd:string">)", "</return>"},
           {"<return>", "</return >"},
           {R"(<return a='>' b=">">)", "</return><return>second</return>"},
           {"<x><return>", "</return></x><y><return>&amp;</return></y>"},
           {"<e:Fault><faultstring>fault: <return>", "</return></faultstring></e:Fault>"},
       }) {
    SCOPED_TRACE(before);
    const std::string body = LargeReply(before, after);
    const std::optional<Reply> fast = ReadReplyFast(body);
    ASSERT_TRUE(fast);
    const Reply parsed = ReadReplyWithParser(body);
    ExpectSameReply(*fast, parsed);
    ExpectSameReply(ReadReply(body), parsed);
    EXPECT_GT(parsed.fault.value_or(parsed.result).size(), 50'000u);
  }
}

TEST(ReadLargeReply, FastWayFindsAFaultAfterTheText) {
  const std::string body =
      LargeReply("<return>", "</return><e:Fault><faultstring>late</faultstring></e:Fault>");
  const std::optional<Reply> fast = ReadReplyFast(body);
  ASSERT_TRUE(fast);
  EXPECT_EQ(fast->fault, "late");
}

TEST(ReadLargeReply, LeavesOtherShapesToTheParser) {
  for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
           {"<!-- <return>", "</return> --><return>real</return>"},
           {"<![CDATA[<return>", "</return>]]><return>real</return>"},
           {"<returned>", "</returned>"},
           {"<return/><return>", "</return>"},
           {"<p:return xmlns:p='urn:p'>", "</p:return>"},
           {"<return><b>", "</b></return>"},
           {"<return>", "]]></return>"},
           {"<return>", "&#0000000065;</return>"},
           {"<other><return>", "</other></return>"},
       }) {
    SCOPED_TRACE(before);
    const std::string body = LargeReply(before, after);
    EXPECT_FALSE(ReadReplyFast(body));
    ExpectSameReply(ReadReply(body), ReadReplyWithParser(body));
  }
}

TEST(ReadLargeReply, LeavesOtherEncodingsToTheParser) {
  std::string latin1 = LargeReply("<return>", "caf\xE9</return>");
  latin1.replace(latin1.find("utf-8"), 5, "ISO-8859-1");
  EXPECT_FALSE(ReadReplyFast(latin1));
  EXPECT_EQ(ReadReply(latin1).result.substr(ReadReply(latin1).result.size() - 5), "caf\u00E9");
}

TEST(ReadLargeReply, MarkerTextInTheReplyCannotBeMistakenForTheText) {
  const std::string body = LargeReply(
      "<return>", "</return><return>penlark-result-text-0 &#112;enlark-result-text-1</return>");
  EXPECT_FALSE(ReadReplyFast(body));  // the reference spells the marker chosen
  const Reply reply = ReadReply(body);
  ExpectSameReply(reply, ReadReplyWithParser(body));
  EXPECT_TRUE(reply.result.ends_with("penlark-result-text-0 penlark-result-text-1"));
}

}  // namespace
}  // namespace penlark::soap
