#include "compression/CodecTestSupport.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

using ::testing::Eq;
using ::testing::StartsWith;

// One run after another in one folder: the status and standard error of each, and the files.
TEST(He3Tool, ExitsWithTheStatusAndMessageOfEachCase) {
  TempDir dir;
  WriteFile(dir / "plain", "abracadabra");
  WriteFile(dir / "corrupt", AsText(WithWrongChecksum(Encoded("abracadabra"))));
  WriteFile(dir / "old", "old content");
  const struct {
    std::string arguments;
    int status;
    ::testing::Matcher<std::string> errors;  // no progress bar: standard error is no terminal
    ::testing::Matcher<std::string> output = Eq("");
  } cases[] = {
      {"encode plain packed", 0, Eq("")},
      {"decode - - <packed >unpacked", 0, Eq("")},
      {"decode corrupt old", 1,
       Eq("The data might be corrupted (checksum did not match expected value)\n")},
      {"decode plain out", 1,
       Eq("The data either was not compressed with HE3 or is corrupt (identification string "
          "not found)\n")},
      {"encode missing out", 1, Eq("missing: No such file or directory\n")},
      // Names that are not ASCII, in and beyond the ANSI code page, as arguments and in messages.
      {"encode plain Łódź.he3", 0, Eq("")},
      {"decode Łódź.he3 ünpacked", 0, Eq("")},
      {"encode missing-ß out", 1, Eq("missing-ß: No such file or directory\n")},
      {"", 1, StartsWith("Usage: he3")},
      {"encode a", 1, StartsWith("Usage: he3")},
      {"--help", 0, Eq(""), ::testing::HasSubstr("he3 encode IN OUT")},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(RunInFolder(dir.Path(), HE3_PROGRAM, row.arguments), row.status) << row.arguments;
    EXPECT_THAT(*ReadFile(dir / "stderr"), row.errors) << row.arguments;
    EXPECT_THAT(*ReadFile(dir / "stdout"), row.output) << row.arguments;
  }
  EXPECT_EQ(ReadFile(dir / "packed"), AsText(Encoded("abracadabra")));
  EXPECT_EQ(ReadFile(dir / "unpacked"), "abracadabra");
  EXPECT_EQ(ReadFile(dir / "ünpacked"), "abracadabra");
  EXPECT_EQ(ReadFile(dir / "old"), "old content");
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

}  // namespace
}  // namespace penlark::testing
