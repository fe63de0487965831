#include "protocol/SoapEnvelope.h"

#include <optional>
#include <tuple>

#include <gtest/gtest.h>

namespace penlark::soap {
namespace {

std::string Envelope(std::string_view bodyContent) {
  return R"(<?xml version="1.0"?><e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/">)"
         "<e:Body>" +
         std::string(bodyContent) + "</e:Body></e:Envelope>";
}

std::string WithAttributes(int count) {
  std::string element = "<r";
  for (int i = 0; i < count; ++i) {
    element += " a" + std::to_string(i) + "=\"\"";
  }
  return element + "><return/></r>";
}

std::string Utf16(std::string_view latin1) {
  std::string utf16 = "\xFF\xFE";
  for (const char c : latin1) {
    utf16 += std::string{c, '\0'};
  }
  return utf16;
}

void ExpectReply(const Reply& actual, const Reply& expected) {
  EXPECT_EQ(std::tie(actual.wellFormed, actual.fault, actual.result),
            std::tie(expected.wellFormed, expected.fault, expected.result));
}

// One row per reply: whether it is well formed, its fault if any, and its result. Markup that
// would cost the parser time in the square of its size is refused, whatever the encoding.
TEST(ReadReply, GivesTheReturnTextOrTheFault) {
  const std::optional<std::string> none;
  const std::pair<std::string, Reply> cases[] = {
      {Envelope(
           R"(<m:r xmlns:m="urn:x"><return xsi:type="xsd:string">&lt;files/&gt;</return></m:r>)"),
       {true, none, "<files/>"}},
      {Envelope("<r><return>one</return><x><return>two</return></x></r>"), {true, none, "onetwo"}},
      {Envelope(
           R"(<r xmlns:p="urn:p"><p:return>a</p:return><Return>b</Return><return>c</return></r>)"),
       {true, none, "c"}},
      {Envelope("<r><return>a&#xD;&#13;b&#233;<![CDATA[<c>&amp;]]></return></r>"),
       {true, none, "a\r\rb\u00E9<c>&amp;"}},
      {Envelope("<e:Fault><faultcode>e:Server</faultcode><faultstring>x &amp; y</faultstring>"
                "</e:Fault>"),
       {true, "x & y", ""}},
      {Envelope("<e:Fault><faultcode>e:Server</faultcode></e:Fault>"), {true, "", ""}},
      {Envelope(R"(<Fault xmlns="urn:other"><faultstring>x</faultstring></Fault>)"),
       {true, none, ""}},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><return>caf\xE9</return></r>",
       {true, none, "caf\u00E9"}},
      {Utf16("<r><return>\xE9</return></r>"), {true, none, "\u00E9"}},
      {"", {}},
      // Document type declarations are refused: entities could blow the reply up.
      {"<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;\">]>"
       "<r><return>&b;</return></r>",
       {}},
      {WithAttributes(50'000), {}},
      {Utf16(WithAttributes(50'000)), {}},
      {std::string(R"(<?xml version="1.0" encoding="SHIFT_JIS"?><r>)") + std::string(8, '\0') +
           "\xFF\xFE\x80\x80",
       {}},
  };
  ::testing::internal::CaptureStderr();  // nothing is said there, about a broken encoding either
  for (const auto& [body, reply] : cases) {
    SCOPED_TRACE(body.substr(0, 100));
    ExpectReply(ReadReply(body), reply);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// A large reply around a text of 100 kB. The fast way must give what the parser gives whenever
// it answers, and leave every other shape to the parser.
TEST(ReadLargeReply, FastWayGivesWhatTheParserGivesOrLeavesItToTheParser) {
  std::string text;
  while (text.size() < 100'000) {
    text += "&lt;p a=&quot;1&quot;&gt;caf\u00E9 &amp; \u20AC\r\n&#13;line\rnext]]&gt;&lt;/p&gt;\n";
  }
  const struct {
    std::string before, after;
    bool fast;
    std::string encoding = "utf-8";
  } cases[] = {
      {R"(<return xsi:type="xsd:string">)", "</return>", true},
      {R"(<return a='>' b=">">)", "</return><return>second</return>", true},
      {"<e:Fault><faultstring>fault: <return>", "</return></faultstring></e:Fault>", true},
      {"<!-- <return>", "</return> --><return>real</return>", false},
      {"<returned>", "</returned>", false},
      {"<p:return xmlns:p='urn:p'>", "</p:return>", false},
      {"<return>", "caf\xE9</return>", false, "ISO-8859-1"},
      // The marker the fast way puts in place of the text cannot be mistaken for it.
      {"<return>", "</return><return>penlark-result-text-0 &#112;enlark-result-text-1</return>",
       false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.before);
    const std::string body = R"(<?xml version="1.0" encoding=")" + row.encoding + R"("?>)" +
                             R"(<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/">)"
                             R"(<e:Body><m:r xmlns:m="urn:m">)" +
                             row.before + text + row.after + "</m:r></e:Body></e:Envelope>";
    const Reply parsed = ReadReplyWithParser(body);
    const std::optional<Reply> fast = ReadReplyFast(body);
    ASSERT_EQ(fast.has_value(), row.fast);
    if (fast) {
      ExpectReply(*fast, parsed);
      EXPECT_GT(parsed.result.size() + parsed.fault.value_or("").size(), 50'000u);
    }
    ExpectReply(ReadReply(body), parsed);
  }
}

}  // namespace
}  // namespace penlark::soap
