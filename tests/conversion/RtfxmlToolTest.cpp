// The rtfxml program, run as a user would: exit status, standard error and the files it leaves.

#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr std::string_view kRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 caf\xE9 <b>\\par }";

class RtfxmlTool : public ::testing::Test {
 protected:
  std::string PathOf(std::string_view name) const { return (dir_ / name).string(); }

  // Runs rtfxml with the arguments (quoted), then any shell redirections; returns the exit status.
  int Run(const std::vector<std::string>& arguments, std::string_view redirections = "") {
    std::string command = "'" + std::string(PENLARK_RTFXML) + "'";
    for (const std::string& argument : arguments) {
      command += " '" + argument + "'";
    }
    command += " " + std::string(redirections) + " 2>'" + PathOf("stderr") + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status)) << command;
    return WEXITSTATUS(status);
  }

  std::string Errors() const { return ReadFile(PathOf("stderr")).value_or("(none)"); }

  TempDir dir_;
};

TEST_F(RtfxmlTool, ConvertsThereAndBack) {
  WriteFile(PathOf("in.rtf"), kRtf);
  ASSERT_EQ(Run({"to-xml", PathOf("in.rtf"), PathOf("doc.xml")}), 0) << Errors();
  const auto xml = ReadFile(PathOf("doc.xml"));
  ASSERT_TRUE(xml.has_value());
  EXPECT_NE(xml->find("<D>caf\u00E9 &lt;b&gt;</D>"), std::string::npos) << *xml;
  ASSERT_EQ(Run({"to-rtf", PathOf("doc.xml"), PathOf("out.rtf")}), 0) << Errors();
  EXPECT_EQ(ReadFile(PathOf("out.rtf")), std::string(kRtf));
  EXPECT_EQ(Errors(), "");
}

TEST_F(RtfxmlTool, EmptyRtfGivesEmptyXml) {
  WriteFile(PathOf("in.rtf"), "");
  ASSERT_EQ(Run({"to-xml", PathOf("in.rtf"), PathOf("doc.xml")}), 0) << Errors();
  EXPECT_EQ(ReadFile(PathOf("doc.xml")), "");
}

TEST_F(RtfxmlTool, StandardInputAndOutput) {
  WriteFile(PathOf("in.rtf"), kRtf);
  ASSERT_EQ(Run({"to-xml", "-", "-"}, "<'" + PathOf("in.rtf") + "' >'" + PathOf("doc.xml") + "'"),
            0)
      << Errors();
  ASSERT_EQ(Run({"to-rtf", "-", "-"}, "<'" + PathOf("doc.xml") + "' >'" + PathOf("out.rtf") + "'"),
            0)
      << Errors();
  EXPECT_EQ(ReadFile(PathOf("out.rtf")), std::string(kRtf));
}

TEST_F(RtfxmlTool, XmlThatDoesNotLoadIsReportedAndTouchesNothing) {
  WriteFile(PathOf("bad.xml"), "<Document><G></Document>");
  EXPECT_EQ(Run({"to-rtf", PathOf("bad.xml"), PathOf("new.rtf")}), 1);
  EXPECT_EQ(Errors(), "ERROR: Unable to load the XML document\n");
  EXPECT_FALSE(std::filesystem::exists(PathOf("new.rtf")));

  WriteFile(PathOf("old.rtf"), "old");
  EXPECT_EQ(Run({"to-rtf", PathOf("bad.xml"), PathOf("old.rtf")}), 1);
  EXPECT_EQ(ReadFile(PathOf("old.rtf")), "old");
}

TEST_F(RtfxmlTool, XmlWithoutDocumentWarnsAndLeavesTheOutputAlone) {
  WriteFile(PathOf("other.xml"), "<Other><D>a</D></Other>");
  WriteFile(PathOf("old.rtf"), "old");
  EXPECT_EQ(Run({"to-rtf", PathOf("other.xml"), PathOf("old.rtf")}), 0);
  EXPECT_EQ(ReadFile(PathOf("old.rtf")), "old");
  const std::string errors = Errors();
  EXPECT_NE(errors.find("warning"), std::string::npos) << errors;
  EXPECT_NE(errors.find("Document"), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
}

TEST_F(RtfxmlTool, MissingInputFailsWithTheSystemsMessage) {
  EXPECT_EQ(Run({"to-xml", PathOf("missing.rtf"), PathOf("out.xml")}), 2);
  EXPECT_NE(Errors().find("No such file or directory"), std::string::npos) << Errors();
  EXPECT_FALSE(std::filesystem::exists(PathOf("missing.rtf")));
  EXPECT_FALSE(std::filesystem::exists(PathOf("out.xml")));
  EXPECT_EQ(Run({"to-rtf", PathOf("missing.xml"), PathOf("out.rtf")}), 2);
  EXPECT_FALSE(std::filesystem::exists(PathOf("out.rtf")));
}

TEST_F(RtfxmlTool, UnwritableOutputFailsWithTheSystemsMessage) {
  WriteFile(PathOf("in.rtf"), kRtf);
  EXPECT_EQ(Run({"to-xml", PathOf("in.rtf"), PathOf("nowhere/out.xml")}), 2);
  EXPECT_NE(Errors().find(PathOf("nowhere/out.xml") + ": No such file or directory"),
            std::string::npos)
      << Errors();
  WriteFile(PathOf("doc.xml"), "<Document/>");
  EXPECT_EQ(Run({"to-rtf", PathOf("doc.xml"), PathOf("nowhere/out.rtf")}), 2);
}

TEST_F(RtfxmlTool, HelpAndUsage) {
  EXPECT_EQ(Run({"--help"}, ">'" + PathOf("stdout") + "'"), 0);
  EXPECT_NE(ReadFile(PathOf("stdout")).value_or("").find("rtfxml to-rtf IN.xml OUT.rtf"),
            std::string::npos);
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({"to-xml", "only-one"}), 2);
  EXPECT_EQ(Run({"convert", "a", "b"}), 2);
  EXPECT_NE(Errors().find("Usage"), std::string::npos);
}

}  // namespace
}  // namespace penlark
