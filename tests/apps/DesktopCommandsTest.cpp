#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::HasSubstr;
using testing::ProgramResult;
using ::testing::StartsWith;

// Dialog operations off screen and headless; flows through a resident Penlark: ExtensionTest.
class DesktopCommandsTest : public ::testing::Test {
 protected:
  DesktopCommandsTest() {
    testing::WriteFile(dir / "a.rtf", "{\\rtf1 a\\par}");
    testing::WriteFile(dir / "b.rtf", "{\\rtf1 b\\par}");
  }

  ProgramResult Run(const std::vector<std::string>& args) {
    return testing::RunProgram(PENLARK_PROGRAM, args, {},
                               {{"DISPLAY", std::nullopt},
                                {"QT_QPA_PLATFORM", "offscreen"},
                                {"XDG_RUNTIME_DIR", dir.Path().string()},
                                {"XDG_CONFIG_HOME", (dir / "config").string()},
                                {"XDG_DATA_HOME", (dir / "data").string()},
                                {"PENLARK_REGISTRY", (dir / "registry.reg").string()}});
  }

  // "penlark close" over a.rtf and b.rtf, b active, with these options: only a stays open.
  void ExpectCloseLeavesA(const std::vector<std::string>& options) {
    std::vector<std::string> args{"close", "--document", (dir / "a.rtf").string(), "--document",
                                  (dir / "b.rtf").string()};
    args.insert(args.end(), options.begin(), options.end());
    const ProgramResult closed = Run(args);
    EXPECT_EQ(closed.exitCode, 0) << closed.err;
    EXPECT_EQ(closed.out, "Documents open:\n  " + (dir / "a.rtf").string() + "   (active)\n");
  }

  testing::TempDir dir;
};

TEST_F(DesktopCommandsTest, CommandsOnTheStandInAndAnUnknownWordProcessor) {
  ExpectCloseLeavesA({"--word=local"});
  const ProgramResult noDocument = Run({"wordclose", "--word=local"});
  EXPECT_EQ(noDocument.exitCode, 1);
  EXPECT_EQ(noDocument.err,
            "penlark: This command is not available because no document is open.\n");
  EXPECT_EQ(noDocument.out, "No document is open.\n");
  for (const char* command : {"close", "demo"}) {
    const ProgramResult result = Run({command, "--word=other"});
    EXPECT_EQ(result.exitCode, 2) << command;
    EXPECT_THAT(result.err, HasSubstr("--word=writer|local")) << command;
  }
}

#ifdef PENLARK_WITH_WRITER
// Writer closes as the stand-in does; the two tell a missing file apart by their messages.
TEST_F(DesktopCommandsTest, WriterIsTheWordProcessorWhenItIsInstalled) {
  ExpectCloseLeavesA({"--word=writer"});
  const auto missing = (dir / "missing.rtf").string();
  const ProgramResult chosen = Run({"new", "--document", missing});
  const ProgramResult writer = Run({"new", "--document", missing, "--word=writer"});
  const ProgramResult local = Run({"new", "--document", missing, "--word=local"});
  EXPECT_EQ(chosen.exitCode, 1);
  EXPECT_THAT(writer.err, StartsWith("penlark: "));
  EXPECT_EQ(chosen.err, writer.err);
  EXPECT_NE(chosen.err, local.err);
}
#endif

}  // namespace
}  // namespace penlark
