#include "protocol/TarnwellRequests.h"

#include <gtest/gtest.h>

namespace penlark::requests {
namespace {

// Each request element byte for byte: attribute order, version attribute, the ending, values
// escaped as attribute values and non-ASCII letters written as they are.
TEST(Requests, AreWrittenByteForByte) {
  const std::pair<std::string, std::string> cases[] = {
      {GetFiles("/", "ann", "secret"),
       R"(<getFiles dir="/" username="ann" password="secret" vid="2.0" />)"},
      {GetContent("/f", "d.xml", 2, "ann", "secret"),
       R"(<getContent dir="/f" name="d.xml" type="2" username="ann" password="secret" version="2.0" />)"},
      {CreateFolder("/f", "new", 1, "ann", "secret"),
       R"(<createFolder dir="/f" name="new" type="1" username="ann" password="secret" version="2.0"  />)"},
      {SaveFile("/f", "e.xml", "ann", "secret"),
       R"(<saveFile dir="/f" name="e.xml" type="2" username="ann" password="secret" version="2.0" />)"},
      {Delete("/f", "new", -7, "ann", "secret"),
       R"(<delete dir="/f" name="new" type="-7" username="ann" password="secret" version="2.0" />)"},
      {GetContent("/", "n", 32767, "u", "p"),
       R"(<getContent dir="/" name="n" type="32767" username="u" password="p" version="2.0" />)"},
      {GetFiles("/a&b", "<ann>", "p\"w\tx\ny\rz"),
       R"(<getFiles dir="/a&amp;b" username="&lt;ann&gt;" password="p&quot;w&#9;x&#10;y&#13;z" vid="2.0" />)"},
      {GetFiles("/r\u00E9sum\u00E9s", "J\u00FCrgen", "\u00E6\u00F8\u00E5"),
       "<getFiles dir=\"/r\u00E9sum\u00E9s\" username=\"J\u00FCrgen\" "
       "password=\"\u00E6\u00F8\u00E5\" vid=\"2.0\" />"},
  };
  for (const auto& [request, expected] : cases) {
    EXPECT_EQ(request, expected);
  }
}

}  // namespace
}  // namespace penlark::requests
