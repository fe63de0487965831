#include "server/DocumentStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace penlark::server {
namespace {

namespace fs = std::filesystem;

TEST(DocumentStore, ReplacesADocumentReadableByAll) {
  testing::TempDir root;
  testing::WriteFile(root / "a.xml", "<old version, longer/>");
  const DocumentStore store(root.Path());
  store.Write("/", "a.xml", "<v2/>");
  EXPECT_EQ(testing::ReadFile(root / "a.xml"), "<v2/>");
  EXPECT_EQ(fs::status(root / "a.xml").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(root.Path()), {}), 1);
}

// A write in progress lives beside its place under a name holding "\"; those a crash left
// behind go when the store is opened.
TEST(DocumentStore, RemovesUnfinishedWritesWhenOpened) {
  testing::TempDir root;
  fs::create_directory(root / "docs");
  testing::WriteFile(root / "docs" / "a.xml\\partial-123", "<half");
  testing::WriteFile(root / "keep.xml.tmp-5", "a user's document");
  const DocumentStore store(root.Path());
  EXPECT_FALSE(fs::exists(root / "docs" / "a.xml\\partial-123"));
  EXPECT_TRUE(fs::exists(root / "keep.xml.tmp-5"));
}

TEST(DocumentStore, RootMustBeADirectory) {
  testing::TempDir dir;
  testing::WriteFile(dir / "file", "");
  EXPECT_THROW(DocumentStore(dir / "file"), std::runtime_error);
  EXPECT_THROW(DocumentStore(dir / "missing"), std::runtime_error);
}

}  // namespace
}  // namespace penlark::server
