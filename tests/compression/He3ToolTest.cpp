#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

using ::testing::Eq;
using ::testing::StartsWith;

TEST(He3Tool, ExitsWithTheStatusAndMessageOfEachCase) {
  TempDir dir;
  WriteFile(dir / "plain", "abracadabra");
  // "abc" coded, its checksum (0x60) changed.
  WriteFile(dir / "corrupt", std::string("HE3\r\x61\x03\0\0\0\x03\0a\2b\2c\1\r\r", 19));
  const struct {
    std::string arguments;
    int status;
    ::testing::Matcher<std::string> errors;  // no progress bar: standard error is no terminal
    ::testing::Matcher<std::string> output = Eq("");
  } cases[] = {
      {"encode - Łódź.he3 <plain", 0, Eq("")},  // a name beyond the ANSI code page
      {"decode Łódź.he3 - >unpacked", 0, Eq("")},
      {"decode corrupt out", 1,
       Eq("The data might be corrupted (checksum did not match expected value)\n")},
      {"encode missing-ß out", 1, Eq("missing-ß: No such file or directory\n")},
      {"encode a", 1, StartsWith("Usage: he3")},
      {"--help", 0, Eq(""), ::testing::HasSubstr("he3 encode IN OUT")},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(RunInFolder(dir.Path(), HE3_PROGRAM, row.arguments), row.status) << row.arguments;
    EXPECT_THAT(*ReadFile(dir / "stderr"), row.errors) << row.arguments;
    EXPECT_THAT(*ReadFile(dir / "stdout"), row.output) << row.arguments;
  }
  EXPECT_EQ(ReadFile(dir / "unpacked"), "abracadabra");
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

}  // namespace
}  // namespace penlark::testing
