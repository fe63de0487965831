#include "platform/Files.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace penlark {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::ptrdiff_t EntriesIn(const TempDir& dir) {
  return std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator());
}

TEST(ReadWholeFile, ReadsEveryByteIntoEitherBufferAndAMissingFileIsAnError) {
  TempDir dir;
  const std::string bytes("a\0\xff\r\nb", 6);
  WriteFile(dir / "f", bytes);
  EXPECT_EQ(ReadWholeFile<std::string>(dir / "f"), bytes);
  EXPECT_EQ(ReadWholeFile<std::vector<std::uint8_t>>(dir / "f"),
            std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  WriteFile(dir / "empty", "");
  EXPECT_EQ(ReadWholeFile<std::string>(dir / "empty"), "");
  try {
    ReadWholeFile<std::string>(dir / "absent");
    ADD_FAILURE() << "a missing file must not read as empty";
  } catch (const fs::filesystem_error& error) {
    EXPECT_EQ(error.path1(), dir / "absent");
    EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
  }
  EXPECT_EQ(EntriesIn(dir), 2);
}

TEST(ReadToEnd, ReadsAPipeUntilItEnds) {
  int ends[2];
#ifdef _WIN32
  ASSERT_EQ(_pipe(ends, 64 * 1024, _O_BINARY), 0);
#else
  ASSERT_EQ(pipe(ends), 0);
#endif
  const std::string sent(200'000, 'x');
  ASSERT_EQ(write(ends[1], sent.data(), 60'000), 60'000);
  std::thread writer([&] {
    EXPECT_EQ(write(ends[1], sent.data() + 60'000, 140'000u), 140'000);
    close(ends[1]);
  });
  EXPECT_EQ(ReadToEnd<std::string>(ends[0], "pipe"), sent);
  writer.join();
  close(ends[0]);
}

// A failure leaves nothing behind.
TEST(ReplaceFile, ReplacesTheWholeFileKeepingItsPermissionsUnlessToldOtherwise) {
  TempDir dir;
  const auto readable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  WriteFile(dir / "f", "a much longer old content");
  fs::permissions(dir / "f", readable);
  ReplaceFile(dir / "f", "new");
  EXPECT_EQ(ReadFile(dir / "f"), "new");
#ifndef _WIN32  // Windows keeps access rights in lists that a replacement inherits.
  EXPECT_EQ(fs::status(dir / "f").permissions(), readable);
  ReplaceFile(dir / "f", "newer", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(dir / "f").permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
  EXPECT_THROW(ReplaceFile(dir / "missing" / "f", "x"), fs::filesystem_error);
  fs::create_directory(dir / "target");
  EXPECT_THROW(ReplaceFile(dir / "target", "x"), fs::filesystem_error);
  EXPECT_TRUE(fs::is_directory(dir / "target"));
  EXPECT_EQ(EntriesIn(dir), 2);
}

}  // namespace
}  // namespace penlark
