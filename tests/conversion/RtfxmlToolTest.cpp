#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::Eq;
using ::testing::HasSubstr;
using testing::ReadFile;
using testing::WriteFile;

constexpr std::string_view kRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 caf\xE9 <b>\\par }";

TEST(RtfxmlTool, ExitsWithTheStatusAndMessageOfEachCase) {
  testing::TempDir dir;
  WriteFile(dir / "in.rtf", kRtf);
  WriteFile(dir / "bad.xml", "<Document><G></Document>");
  WriteFile(dir / "other.xml", "<Other><D>a</D></Other>");
  WriteFile(dir / "old.rtf", "old");
  const struct {
    std::string arguments;
    int status;
    ::testing::Matcher<std::string> errors;
  } cases[] = {
      {"to-xml in.rtf doc.xml", 0, Eq("")},
      {"to-rtf - grüße.rtf <doc.xml", 0, Eq("")},  // a name that is not ASCII
      {"to-xml grüße.rtf - >piped.xml", 0, Eq("")},
      {"to-rtf bad.xml new.rtf", 1, Eq("ERROR: Unable to load the XML document\n")},
      {"to-rtf other.xml old.rtf", 0,
       Eq("rtfxml: warning: other.xml has no top-level Document element; nothing written to "
          "old.rtf\n")},
      {"to-xml missing-ß.rtf missing.xml", 2, HasSubstr("missing-ß.rtf: No such file")},
      {"to-xml in.rtf nowhere/out.xml", 2, HasSubstr("nowhere/out.xml: No such file or directory")},
      {"--help >help", 0, Eq("")},
      {"convert a b", 2, HasSubstr("Usage")},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(testing::RunInFolder(dir.Path(), PENLARK_RTFXML, row.arguments), row.status)
        << row.arguments;
    EXPECT_THAT(*ReadFile(dir / "stderr"), row.errors) << row.arguments;
  }
  EXPECT_EQ(ReadFile(dir / "grüße.rtf"), std::string(kRtf));
  EXPECT_EQ(ReadFile(dir / "old.rtf"), "old");
  EXPECT_THAT(*ReadFile(dir / "help"), HasSubstr("rtfxml to-rtf IN.xml OUT.rtf"));
  for (const char* absent : {"new.rtf", "missing.xml", "nowhere"}) {
    EXPECT_FALSE(std::filesystem::exists(dir / absent)) << absent;
  }
}

}  // namespace
}  // namespace penlark
