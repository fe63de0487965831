#include "platform/Files.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace penlark {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// A pipe's two ends as descriptors of the C runtime.
bool OpenPipe(int (&ends)[2]) {
#ifdef _WIN32
  return _pipe(ends, 64 * 1024, _O_BINARY) == 0;
#else
  return pipe(ends) == 0;
#endif
}

TEST(ReadWholeFile, ReadsEveryByteIntoEitherBuffer) {
  TempDir dir;
  const std::string bytes("a\0\xff\r\nb", 6);
  WriteFile(dir / "f", bytes);
  EXPECT_EQ(ReadWholeFile<std::string>(dir / "f"), bytes);
  EXPECT_EQ(ReadWholeFile<std::vector<std::uint8_t>>(dir / "f"),
            std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  WriteFile(dir / "empty", "");
  EXPECT_EQ(ReadWholeFile<std::string>(dir / "empty"), "");
}

TEST(ReadWholeFile, AMissingFileIsAnErrorNamingItAndNothingIsCreated) {
  TempDir dir;
  try {
    ReadWholeFile<std::string>(dir / "absent");
    FAIL() << "a missing file must not read as empty";
  } catch (const fs::filesystem_error& error) {
    EXPECT_EQ(error.path1(), dir / "absent");
    EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
  }
  EXPECT_FALSE(fs::exists(dir / "absent"));
}

TEST(ReadToEnd, ReadsAPipeUntilItEnds) {
  int pipeEnds[2];
  ASSERT_TRUE(OpenPipe(pipeEnds));
  const std::string sent(200'000, 'x');
  ASSERT_EQ(write(pipeEnds[1], sent.data(), 60'000), 60'000);
  std::thread writer([&] {
    const unsigned rest = 140'000;
    EXPECT_EQ(write(pipeEnds[1], sent.data() + 60'000, rest), rest);
    close(pipeEnds[1]);
  });
  EXPECT_EQ(ReadToEnd<std::string>(pipeEnds[0], "pipe"), sent);
  writer.join();
  close(pipeEnds[0]);
}

TEST(ReplaceFile, ReplacesALongerFileWholly) {
  TempDir dir;
  WriteFile(dir / "f", "a much longer old content");
  ReplaceFile(dir / "f", "new");
  EXPECT_EQ(ReadFile(dir / "f"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

// Windows keeps access rights in access lists, which a replacement inherits from its folder.
#ifndef _WIN32
TEST(ReplaceFile, KeepsTheOldPermissionsUnlessToldOtherwise) {
  TempDir dir;
  WriteFile(dir / "f", "old");
  fs::permissions(dir / "f",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ReplaceFile(dir / "f", "new");
  EXPECT_EQ(fs::status(dir / "f").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ReplaceFile(dir / "f", "newer", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(dir / "f").permissions(), fs::perms::owner_read | fs::perms::owner_write);
}
#endif

TEST(ReplaceFile, AFailureLeavesNothingBehind) {
  TempDir dir;
  EXPECT_THROW(ReplaceFile(dir / "missing" / "f", "x"), fs::filesystem_error);
  fs::create_directory(dir / "target");
  EXPECT_THROW(ReplaceFile(dir / "target", "x"), fs::filesystem_error);
  EXPECT_TRUE(fs::is_directory(dir / "target"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace penlark
