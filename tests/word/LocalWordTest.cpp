#include "support/TempDir.h"
#include "word/LocalWord.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class LocalWordTest : public ::testing::Test {
 protected:
  std::string MakeRtf(std::string_view name, std::string_view content) {
    const auto path = dir_ / name;
    WriteFile(path, content);
    return path.string();
  }

  TempDir dir_;
  LocalWord word_;
};

TEST_F(LocalWordTest, StartsWithNoDocumentAndNoActiveDocument) {
  EXPECT_EQ(word_.DocumentsCount(), 0);
  try {
    word_.ActiveDocument();
    FAIL() << "no document is open";
  } catch (const WordError& error) {
    EXPECT_STREQ(error.what(), "This command is not available because no document is open.");
  }
}

TEST_F(LocalWordTest, OpenGivesNameAndFolderOfTheFileAndMakesItActive) {
  const auto path = MakeRtf("report.rtf", "{\\rtf1 report}");
  const auto document = word_.DocumentsOpen(path);
  EXPECT_EQ(document->Name(), "report.rtf");
  EXPECT_EQ(document->Path(), dir_.Path().string());
  EXPECT_EQ(word_.DocumentsCount(), 1);
  EXPECT_EQ(word_.ActiveDocument(), document);
}

TEST_F(LocalWordTest, ItemsAreOneBasedInOpeningOrder) {
  const auto first = word_.DocumentsOpen(MakeRtf("a.rtf", "a"));
  const auto second = word_.DocumentsOpen(MakeRtf("b.rtf", "b"));
  EXPECT_EQ(word_.DocumentsItem(1), first);
  EXPECT_EQ(word_.DocumentsItem(2), second);
  EXPECT_THROW(word_.DocumentsItem(0), WordError);
  EXPECT_THROW(word_.DocumentsItem(3), WordError);
}

TEST_F(LocalWordTest, OpeningAMissingFileFails) {
  EXPECT_THROW(word_.DocumentsOpen((dir_ / "absent.rtf").string()), WordError);
  EXPECT_THROW(word_.DocumentsOpen(dir_.Path().string()), WordError);
  EXPECT_EQ(word_.DocumentsCount(), 0);
}

TEST_F(LocalWordTest, OpeningAnOpenFileAgainActivatesTheOpenDocument) {
  const auto path = MakeRtf("a.rtf", "a");
  const auto first = word_.DocumentsOpen(path);
  word_.DocumentsOpen(MakeRtf("b.rtf", "b"));
  EXPECT_EQ(word_.DocumentsOpen(path), first);
  EXPECT_EQ(word_.DocumentsCount(), 2);
  EXPECT_EQ(word_.ActiveDocument(), first);
}

TEST_F(LocalWordTest, SaveAsRtfWritesTheBytesAndRebindsTheDocument) {
  const auto document = word_.DocumentsOpen(MakeRtf("a.rtf", "{\\rtf1 text}"));
  std::filesystem::create_directory(dir_ / "work");
  const auto target = (dir_ / "work" / "copy.rtf").string();

  document->SaveAs(target, kWordFormatRtf);

  EXPECT_EQ(ReadFile(target), "{\\rtf1 text}");
  EXPECT_EQ(document->Name(), "copy.rtf");
  EXPECT_EQ(document->Path(), (dir_ / "work").string());
}

TEST_F(LocalWordTest, SaveAsReplacesALongerFile) {
  const auto document = word_.DocumentsOpen(MakeRtf("a.rtf", "short"));
  const auto target = MakeRtf("old.rtf", "a much longer old content");
  document->SaveAs(target, kWordFormatRtf);
  EXPECT_EQ(ReadFile(target), "short");
}

TEST_F(LocalWordTest, SaveAsFailsForOtherFormatsAndUnwritablePaths) {
  const auto document = word_.DocumentsOpen(MakeRtf("a.rtf", "a"));
  EXPECT_THROW(document->SaveAs((dir_ / "x.doc").string(), 0), WordError);
  EXPECT_THROW(document->SaveAs((dir_ / "missing" / "x.rtf").string(), kWordFormatRtf), WordError);
  EXPECT_EQ(document->Name(), "a.rtf");
}

TEST_F(LocalWordTest, SaveAsOverAnotherOpenDocumentFails) {
  const auto a = word_.DocumentsOpen(MakeRtf("a.rtf", "a"));
  const auto bPath = MakeRtf("b.rtf", "b");
  word_.DocumentsOpen(bPath);
  EXPECT_THROW(a->SaveAs(bPath, kWordFormatRtf), WordError);
  EXPECT_EQ(ReadFile(bPath), "b");
}

TEST_F(LocalWordTest, CloseRemovesTheDocumentAndActivatesTheLastOne) {
  const auto a = word_.DocumentsOpen(MakeRtf("a.rtf", "a"));
  const auto b = word_.DocumentsOpen(MakeRtf("b.rtf", "b"));
  const auto c = word_.DocumentsOpen(MakeRtf("c.rtf", "c"));
  a->Activate();
  a->Close();
  EXPECT_EQ(word_.DocumentsCount(), 2);
  EXPECT_EQ(word_.DocumentsItem(1), b);
  EXPECT_EQ(word_.ActiveDocument(), c);
  EXPECT_THROW(a->Name(), WordError);
  EXPECT_THROW(a->Close(), WordError);
  b->Close();
  c->Close();
  EXPECT_THROW(word_.ActiveDocument(), WordError);
}

TEST_F(LocalWordTest, ClosingAnInactiveDocumentKeepsTheActiveOne) {
  const auto a = word_.DocumentsOpen(MakeRtf("a.rtf", "a"));
  const auto b = word_.DocumentsOpen(MakeRtf("b.rtf", "b"));
  a->Close();
  EXPECT_EQ(word_.ActiveDocument(), b);
}

TEST_F(LocalWordTest, ActivateMakesADocumentActive) {
  const auto a = word_.DocumentsOpen(MakeRtf("a.rtf", "a"));
  word_.DocumentsOpen(MakeRtf("b.rtf", "b"));
  a->Activate();
  EXPECT_EQ(word_.ActiveDocument(), a);
}

TEST_F(LocalWordTest, SeededDocumentNeverSavedHasNoFolder) {
  const auto document = word_.AddDocument("Document1", "{\\rtf1 new}");
  EXPECT_EQ(document->Name(), "Document1");
  EXPECT_EQ(document->Path(), "");
  const auto target = (dir_ / "Document1.rtf").string();
  document->SaveAs(target, kWordFormatRtf);
  EXPECT_EQ(ReadFile(target), "{\\rtf1 new}");
}

TEST_F(LocalWordTest, RecordsVisibilityAndNewApplications) {
  const auto document = word_.DocumentsOpen(MakeRtf("a.rtf", "a"));
  EXPECT_FALSE(word_.IsVisible());
  document->ShowApplication();
  EXPECT_TRUE(word_.IsVisible());
  word_.NewApplication();
  EXPECT_EQ(word_.NewApplicationCount(), 1);
  EXPECT_EQ(word_.DocumentsCount(), 1);
}

TEST_F(LocalWordTest, DocumentsOutliveTheApplicationAsClosedOnes) {
  std::shared_ptr<WordDocument> document;
  {
    LocalWord word;
    document = word.DocumentsOpen(MakeRtf("a.rtf", "a"));
  }
  EXPECT_THROW(document->Name(), WordError);
}

}  // namespace
}  // namespace penlark
