#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::HasSubstr;
using testing::ProgramResult;
using ::testing::StartsWith;

// The operations with the dialog, run without a display: Qt draws off screen and Writer runs
// headless, so nothing waits for a user.
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
                                {"PENLARK_REGISTRY", (dir / "registry.reg").string()}});
  }

  // "penlark close" over a.rtf and b.rtf, b active, with these options.
  ProgramResult CloseWith(std::vector<std::string> options) {
    std::vector<std::string> args{"close", "--document", (dir / "a.rtf").string(), "--document",
                                  (dir / "b.rtf").string()};
    args.insert(args.end(), options.begin(), options.end());
    return Run(args);
  }

  std::string OnlyAOpen() const {
    return "Documents open:\n  " + (dir / "a.rtf").string() + "   (active)\n";
  }

  testing::TempDir dir;
};

TEST_F(DesktopCommandsTest, AnUnknownWordProcessorIsAnArgumentError) {
  for (const char* command : {"close", "demo"}) {
    const ProgramResult result = Run({command, "--word=other"});
    EXPECT_EQ(result.exitCode, 2) << command;
    EXPECT_THAT(result.err, HasSubstr("--word=writer|local")) << command;
  }
}

TEST_F(DesktopCommandsTest, CloseClosesTheActiveDocumentOfTheStandIn) {
  const ProgramResult result = CloseWith({"--word=local"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, OnlyAOpen());
}

TEST_F(DesktopCommandsTest, WordCloseWithNoDocumentFailsWithTheWordProcessorsMessage) {
  const ProgramResult result = Run({"wordclose", "--word=local"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "penlark: This command is not available because no document is open.\n");
  EXPECT_EQ(result.out, "No document is open.\n");
}

#ifdef PENLARK_WITH_WRITER
TEST_F(DesktopCommandsTest, CloseClosesTheActiveDocumentInWriter) {
  const ProgramResult result = CloseWith({"--word=writer"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, OnlyAOpen());
}

TEST_F(DesktopCommandsTest, WriterIsTheWordProcessorWhenItIsInstalled) {
  // The two tell a missing file apart by their messages.
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
