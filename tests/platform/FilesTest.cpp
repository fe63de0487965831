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

// A missing file is an error, not empty. A replacement keeps the file's permissions unless told
// otherwise, and a failure leaves nothing behind.
TEST(Files, ReadAndReplaceWholeFiles) {
  TempDir dir;
  const std::string bytes("a\0\xff\r\nb", 6);
  WriteFile(dir / "f", bytes);
  EXPECT_EQ(ReadWholeFile<std::string>(dir / "f"), bytes);
  EXPECT_EQ(ReadWholeFile<std::vector<std::uint8_t>>(dir / "f"),
            std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  try {
    ReadWholeFile<std::string>(dir / "absent");
    ADD_FAILURE() << "a missing file must not read as empty";
  } catch (const fs::filesystem_error& error) {
    EXPECT_EQ(error.path1(), dir / "absent");
    EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
  }
  const auto readable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
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
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 2);
}

TEST(ReadToEnd, ReadsAPipeUntilItEnds) {
  int ends[2];
#ifdef _WIN32
  ASSERT_EQ(_pipe(ends, 64 * 1024, _O_BINARY), 0);
#else
  ASSERT_EQ(pipe(ends), 0);
#endif
  const std::string sent(200'000, 'x');
  std::thread writer([&] {
    EXPECT_EQ(write(ends[1], sent.data(), 200'000u), 200'000);
    close(ends[1]);
  });
  EXPECT_EQ(ReadToEnd<std::string>(ends[0], "pipe"), sent);
  writer.join();
  close(ends[0]);
}

}  // namespace
}  // namespace penlark
