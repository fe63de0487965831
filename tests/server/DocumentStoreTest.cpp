#include "server/DocumentStore.h"
#include "server/SoapMessages.h"
#include "support/TempDir.h"

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark::server {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

std::vector<std::string> Names(const std::vector<StoreEntry>& entries) {
  std::vector<std::string> names;
  for (const StoreEntry& entry : entries) {
    names.push_back(entry.name);
  }
  return names;
}

class DocumentStoreTest : public ::testing::Test {
 protected:
  testing::TempDir top;  // holds the root and a folder outside it
  const fs::path root = top / "root";
  const fs::path outside = top / "outside";
  std::optional<DocumentStore> store;

  void SetUp() override {
    fs::create_directories(root / "docs" / "inner");
    fs::create_directories(outside);
    testing::WriteFile(root / "docs" / "a.xml", "<a/>");
    testing::WriteFile(outside / "secret.xml", "<secret/>");
    store.emplace(root);
  }
};

TEST_F(DocumentStoreTest, ListsFoldersFirstThenDocumentsByName) {
  testing::WriteFile(root / "b.xml", "");
  testing::WriteFile(root / "B.xml", "");
  fs::create_directory(root / "zeta");
  const auto entries = store->List("/");
  EXPECT_THAT(Names(entries), ElementsAre("docs", "zeta", "B.xml", "b.xml"));
  EXPECT_TRUE(entries[0].folder);
  EXPECT_FALSE(entries[2].folder);
  EXPECT_TRUE(entries[2].writable);
}

TEST_F(DocumentStoreTest, ListingLeavesOutWhatCannotBeServed) {
  ASSERT_EQ(::mkfifo((root / "pipe").c_str(), 0600), 0);
  testing::WriteFile(root / "bad\x01name", "");
  testing::WriteFile(root / "bad\xFFutf8", "");
  fs::create_directory_symlink(outside, root / "escape");
  fs::create_symlink(outside / "secret.xml", root / "secret.xml");
  fs::create_symlink(root / "docs" / "a.xml", root / "alias.xml");
  EXPECT_THAT(Names(store->List("/")), ElementsAre("docs", "alias.xml"));
}

TEST_F(DocumentStoreTest, FolderPathsResolveBelowTheRoot) {
  EXPECT_THAT(Names(store->List("/docs")), ElementsAre("inner", "a.xml"));
  EXPECT_THAT(Names(store->List("docs")), ElementsAre("inner", "a.xml"));
  EXPECT_THAT(Names(store->List("//docs//")), ElementsAre("inner", "a.xml"));
  EXPECT_TRUE(store->List("/docs/inner").empty());
  EXPECT_EQ(store->List("").size(), 1u);
}

TEST_F(DocumentStoreTest, RefusesFolderPathsLeadingOut) {
  fs::create_directory_symlink(outside, root / "escape");
  for (const char* dir :
       {"/..", "/docs/../..", "/./docs", "/escape", "/docs\\..", "/missing", "/docs/a.xml"}) {
    SCOPED_TRACE(dir);
    EXPECT_THROW(store->List(dir), RequestRefused);
    EXPECT_THROW(store->Write(dir, "x.xml", "x"), RequestRefused);
  }
  EXPECT_FALSE(fs::exists(outside / "x.xml"));
  EXPECT_FALSE(fs::exists(top / "x.xml"));
}

TEST_F(DocumentStoreTest, RefusesNamesThatAreNotSingleComponents) {
  for (const char* name : {"", ".", "..", "a/b", "/etc/passwd", "..\\x", "C:\\x", "tab\there"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(store->Write("/", name, "x"), RequestRefused);
    EXPECT_THROW(store->CreateFolder("/", name), RequestRefused);
    EXPECT_THROW(store->Read("/", name), RequestRefused);
  }
}

TEST_F(DocumentStoreTest, RefusesLinksLeadingOut) {
  fs::create_symlink(outside / "secret.xml", root / "secret.xml");
  fs::create_symlink(top / "nowhere", root / "dangling.xml");
  EXPECT_THROW(store->Read("/", "secret.xml"), RequestRefused);
  EXPECT_THROW(store->Write("/", "secret.xml", "overwritten"), RequestRefused);
  EXPECT_THROW(store->Delete("/", "secret.xml", false), RequestRefused);
  EXPECT_THROW(store->Write("/", "dangling.xml", "x"), RequestRefused);
  EXPECT_EQ(testing::ReadFile(outside / "secret.xml"), "<secret/>");
  EXPECT_FALSE(fs::exists(top / "nowhere"));
}

TEST_F(DocumentStoreTest, WritesReadsAndReplacesDocuments) {
  store->Write("/docs", "new.xml", "<new>\r\n</new>");
  EXPECT_EQ(store->Read("/docs", "new.xml"), "<new>\r\n</new>");
  store->Write("/docs", "new.xml", "<v2/>");
  EXPECT_EQ(testing::ReadFile(root / "docs" / "new.xml"), "<v2/>");
  EXPECT_EQ(fs::status(root / "docs" / "new.xml").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
  EXPECT_THAT(Names(store->List("/docs")), ElementsAre("inner", "a.xml", "new.xml"));
}

TEST_F(DocumentStoreTest, DocumentsAreNotFolders) {
  EXPECT_THROW(store->Read("/", "docs"), RequestRefused);
  EXPECT_THROW(store->Read("/docs", "missing.xml"), RequestRefused);
  EXPECT_THROW(store->Write("/", "docs", "x"), RequestRefused);
  EXPECT_TRUE(fs::is_directory(root / "docs"));
}

TEST_F(DocumentStoreTest, CreatesFoldersOnce) {
  store->CreateFolder("/docs", "made");
  EXPECT_TRUE(fs::is_directory(root / "docs" / "made"));
  EXPECT_THROW(store->CreateFolder("/docs", "made"), RequestRefused);
  EXPECT_THROW(store->CreateFolder("/docs", "a.xml"), RequestRefused);
}

TEST_F(DocumentStoreTest, DeletesDocumentsAndEmptyFolders) {
  store->Delete("/docs", "a.xml", false);
  store->Delete("/docs", "inner", true);
  EXPECT_TRUE(fs::is_empty(root / "docs"));
}

TEST_F(DocumentStoreTest, DeleteChecksTheKindAndEmptiness) {
  EXPECT_THROW(store->Delete("/", "docs", true), RequestRefused);  // not empty
  EXPECT_THROW(store->Delete("/", "docs", false), RequestRefused);
  EXPECT_THROW(store->Delete("/docs", "a.xml", true), RequestRefused);
  EXPECT_THROW(store->Delete("/docs", "missing", false), RequestRefused);
  EXPECT_TRUE(fs::exists(root / "docs" / "a.xml"));
}

// A write in progress is never listed or served, and one a crash left behind goes at start.
TEST_F(DocumentStoreTest, PartialWritesAreHiddenAndRemovedAtStart) {
  testing::WriteFile(root / "docs" / "a.xml\\partial-123", "<half");
  testing::WriteFile(root / "keep.xml.tmp-5", "a user's document");
  EXPECT_THAT(Names(store->List("/docs")), ElementsAre("inner", "a.xml"));
  EXPECT_THROW(store->Read("/docs", "a.xml\\partial-123"), RequestRefused);
  DocumentStore reopened(root);
  EXPECT_FALSE(fs::exists(root / "docs" / "a.xml\\partial-123"));
  EXPECT_TRUE(fs::exists(root / "keep.xml.tmp-5"));
  EXPECT_EQ(testing::ReadFile(root / "docs" / "a.xml"), "<a/>");
}

TEST(DocumentStore, RootMustBeADirectory) {
  testing::TempDir dir;
  testing::WriteFile(dir / "file", "");
  EXPECT_THROW(DocumentStore(dir / "file"), std::runtime_error);
  EXPECT_THROW(DocumentStore(dir / "missing"), std::runtime_error);
}

}  // namespace
}  // namespace penlark::server
