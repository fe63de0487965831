#include "compression/CodecTestSupport.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// Runs he3 in `dir` with standard input from the file "stdin" when it exists, standard output
// and standard error into the files "stdout" and "stderr"; returns the exit status.
int RunHe3(const TempDir& dir, const std::string& arguments) {
  const std::string input = std::filesystem::exists(dir / "stdin") ? " <stdin" : " </dev/null";
  const std::string command = "cd '" + dir.Path().string() + "' && '" HE3_PROGRAM "' " + arguments +
                              input + " >stdout 2>stderr";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string kChecksumMessage =
    "The data might be corrupted (checksum did not match expected value)\n";

TEST(He3Tool, EncodesAndDecodesFiles) {
  TempDir dir;
  WriteFile(dir / "plain", "abracadabra");
  ASSERT_EQ(RunHe3(dir, "encode plain packed"), 0);
  EXPECT_EQ(ReadFile(dir / "packed"), AsText(Encoded("abracadabra")));
  ASSERT_EQ(RunHe3(dir, "decode packed unpacked"), 0);
  EXPECT_EQ(ReadFile(dir / "unpacked"), "abracadabra");
  // No progress bar when standard error is not a terminal.
  EXPECT_EQ(ReadFile(dir / "stderr"), "");
}

TEST(He3Tool, ReadsStandardInputAndWritesStandardOutput) {
  TempDir dir;
  WriteFile(dir / "stdin", "abc");
  ASSERT_EQ(RunHe3(dir, "encode - -"), 0);
  const std::string packed = *ReadFile(dir / "stdout");
  EXPECT_EQ(packed.size(), 19u);
  WriteFile(dir / "stdin", packed);
  ASSERT_EQ(RunHe3(dir, "decode - unpacked"), 0);
  EXPECT_EQ(ReadFile(dir / "unpacked"), "abc");
}

TEST(He3Tool, EmptyInputGivesTheBareStoredHeaderAndBack) {
  TempDir dir;
  WriteFile(dir / "empty", "");
  ASSERT_EQ(RunHe3(dir, "encode empty packed"), 0);
  EXPECT_EQ(ReadFile(dir / "packed"), "HE0\r");
  ASSERT_EQ(RunHe3(dir, "decode packed unpacked"), 0);
  EXPECT_EQ(ReadFile(dir / "unpacked"), "");
}

TEST(He3Tool, CorruptInputFailsWithTheDescriptionAndLeavesOutAlone) {
  TempDir dir;
  WriteFile(dir / "packed", AsText(WithWrongChecksum(Encoded("abracadabra"))));
  WriteFile(dir / "old", "old content");
  EXPECT_EQ(RunHe3(dir, "decode packed old"), 1);
  EXPECT_EQ(ReadFile(dir / "stderr"), kChecksumMessage);
  EXPECT_EQ(ReadFile(dir / "old"), "old content");
  EXPECT_EQ(RunHe3(dir, "decode packed new"), 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "new"));
  EXPECT_EQ(RunHe3(dir, "decode packed -"), 1);
  EXPECT_EQ(ReadFile(dir / "stdout"), "");
}

TEST(He3Tool, InputThatIsNotCompressedFailsWithTheIdentificationError) {
  TempDir dir;
  WriteFile(dir / "plain", "plain words");
  EXPECT_EQ(RunHe3(dir, "decode plain out"), 1);
  EXPECT_EQ(ReadFile(dir / "stderr"),
            "The data either was not compressed with HE3 or is corrupt (identification string "
            "not found)\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST(He3Tool, AMissingInputFailsAndCreatesNothing) {
  TempDir dir;
  EXPECT_EQ(RunHe3(dir, "encode missing out"), 1);
  EXPECT_EQ(ReadFile(dir / "stderr"), "missing: No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST(He3Tool, WrongArgumentsFailAndHelpSucceeds) {
  TempDir dir;
  EXPECT_EQ(RunHe3(dir, ""), 1);
  EXPECT_EQ(RunHe3(dir, "squeeze a b"), 1);
  EXPECT_EQ(RunHe3(dir, "encode a"), 1);
  EXPECT_EQ(RunHe3(dir, "--help"), 0);
  EXPECT_NE(ReadFile(dir / "stdout")->find("he3 encode IN OUT"), std::string::npos);
}

}  // namespace
}  // namespace penlark::testing
