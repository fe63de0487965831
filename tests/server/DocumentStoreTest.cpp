#include "server/DocumentStore.h"
#include "server/SoapMessages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace penlark::server {
namespace {

namespace fs = std::filesystem;

// A write in progress lives beside its place under a mark; those a crash left behind go when the
// store is opened.
TEST(DocumentStore, ReplacesADocumentReadableByAllAndRemovesUnfinishedWrites) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permissions, and a partial-write mark holding \"\\\", which Windows "
                  "reads as a folder";
#endif
  testing::TempDir root;
  fs::create_directory(root / "docs");
  testing::WriteFile(root / "docs" / "a.xml\\partial-123", "<half");
  testing::WriteFile(root / "a.xml", "<old version, longer/>");
  testing::WriteFile(root / "keep.xml.tmp-5", "a user's document");
  const DocumentStore store(root.Path());
  EXPECT_FALSE(fs::exists(root / "docs" / "a.xml\\partial-123"));
  EXPECT_TRUE(fs::exists(root / "keep.xml.tmp-5"));
  store.Write("/", "a.xml", "<v2/>");
  EXPECT_EQ(testing::ReadFile(root / "a.xml"), "<v2/>");
  EXPECT_EQ(fs::status(root / "a.xml").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(root.Path()), {}), 3);
}

// Names the protocol allows but Windows cannot hold as files: a store on Windows refuses them in
// words of its own, one on POSIX keeps them like any other name.
TEST(DocumentStore, NamesTheSystemCannotHoldAreRefusedThere) {
  testing::TempDir root;
  const DocumentStore store(root.Path());
  for (const std::string name : {"a<b>.xml", "\"q\".xml", "a:b", "a|b", "a?b", "a*b", "trailing.",
                                 "trailing ", "con", "Nul.xml", "com1.rtf", "LPT9"}) {
#ifdef _WIN32
    try {
      store.Write("/", name, "<a/>");
      ADD_FAILURE() << name;
    } catch (const RequestRefused& refusal) {
      EXPECT_STREQ(refusal.what(),
                   ("The name \"" + name + "\" is not allowed: the server's system cannot hold it.")
                       .c_str());
    }
    EXPECT_THROW(store.CreateFolder("/", name), RequestRefused) << name;
    EXPECT_THROW(store.List("/" + name), RequestRefused) << name;
    EXPECT_TRUE(fs::is_empty(root.Path())) << name;
#else
    store.Write("/", name, "<a/>");
    EXPECT_EQ(store.Read("/", name), "<a/>") << name;
#endif
  }
}

}  // namespace
}  // namespace penlark::server
