#include "support/TempDir.h"
#include "word/SharedWriter.h"
#include "word/WordErrorOf.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::ReadFile;
using ::testing::StartsWith;
using testing::TempDir;
using testing::WordErrorOf;
using testing::WriteFile;

// Each test works on the shared office and leaves it without documents.
class WriterTest : public ::testing::Test {
 protected:
  void TearDown() override { testing::CloseAllDocuments(word_); }

  std::string MakeRtf(std::string_view name, std::string_view text) {
    const auto path = dir_ / name;
    WriteFile(path, "{\\rtf1\\ansi " + std::string(text) + "\\par}");
    return path.string();
  }

  std::shared_ptr<WordDocument> Open(std::string_view name) {
    return word_.DocumentsOpen(MakeRtf(name, "text of " + std::string(name)));
  }

  WriterWord& word_ = testing::SharedWriter();
  TempDir dir_;
};

using WriterDocumentsTest = WriterTest;

TEST_F(WriterDocumentsTest, NoDocumentIsOpenAtFirstAndThereIsNoActiveDocument) {
  EXPECT_EQ(word_.DocumentsCount(), 0);
  EXPECT_EQ(WordErrorOf([&] { word_.ActiveDocument(); }), kNoDocumentMessage);
}

TEST_F(WriterDocumentsTest, ItemsAreOneBasedNewestFirstAndStayTheSameObjects) {
  const auto a = Open("a.rtf");
  const auto b = Open("b.rtf");
  const auto c = Open("c.rtf");
  ASSERT_EQ(word_.DocumentsCount(), 3);
  EXPECT_EQ(word_.DocumentsItem(1), c);
  EXPECT_EQ(word_.DocumentsItem(2), b);
  EXPECT_EQ(word_.DocumentsItem(3), a);
  EXPECT_THAT(WordErrorOf([&] { word_.DocumentsItem(0); }), HasSubstr("does not exist"));
  EXPECT_THROW(word_.DocumentsItem(4), WordError);
}

TEST_F(WriterDocumentsTest, NameAndFolderComeFromTheFile) {
  const auto document = Open("report.rtf");
  EXPECT_EQ(document->Name(), "report.rtf");
  EXPECT_EQ(document->Path(), dir_.Path().string());
}

TEST_F(WriterDocumentsTest, NameAndFolderOfAFileWithBlanksAndAccents) {
  std::filesystem::create_directory(dir_ / "my work");
  const auto document = word_.DocumentsOpen(MakeRtf("my work/Bericht über 50%.rtf", "x"));
  EXPECT_EQ(document->Name(), "Bericht über 50%.rtf");
  EXPECT_EQ(document->Path(), (dir_ / "my work").string());
}

using WriterOpenTest = WriterTest;

TEST_F(WriterOpenTest, OpenedDocumentIsActive) {
  Open("a.rtf");
  const auto b = Open("b.rtf");
  EXPECT_EQ(word_.ActiveDocument(), b);
}

TEST_F(WriterOpenTest, OpensForEditingNotReadOnly) {
  // The office locks a file it has open for editing, and only then.
  const auto document = Open("report.rtf");
  EXPECT_TRUE(std::filesystem::exists(dir_ / ".~lock.report.rtf#"));
  document->Close();
  EXPECT_FALSE(std::filesystem::exists(dir_ / ".~lock.report.rtf#"));
}

TEST_F(WriterOpenTest, OpeningAnOpenFileAgainActivatesTheOpenDocument) {
  const auto path = MakeRtf("a.rtf", "a");
  const auto first = word_.DocumentsOpen(path);
  Open("b.rtf");
  EXPECT_EQ(word_.DocumentsOpen(path), first);
  EXPECT_EQ(word_.DocumentsCount(), 2);
  EXPECT_EQ(word_.ActiveDocument(), first);
}

TEST_F(WriterOpenTest, OpeningAMissingFileFailsWithTheOfficesMessage) {
  const auto message = WordErrorOf([&] { word_.DocumentsOpen((dir_ / "absent.rtf").string()); });
  EXPECT_THAT(message, HasSubstr("absent.rtf"));
  EXPECT_EQ(word_.DocumentsCount(), 0);
}

TEST_F(WriterOpenTest, OpeningAFolderFails) {
  EXPECT_THROW(word_.DocumentsOpen(dir_.Path().string()), WordError);
  EXPECT_EQ(word_.DocumentsCount(), 0);
}

using WriterActivateTest = WriterTest;

TEST_F(WriterActivateTest, ActivateMakesADocumentActive) {
  const auto a = Open("a.rtf");
  const auto b = Open("b.rtf");
  a->Activate();
  EXPECT_EQ(word_.ActiveDocument(), a);
  b->Activate();
  EXPECT_EQ(word_.ActiveDocument(), b);
}

TEST_F(WriterActivateTest, ShowingTheApplicationNeedsAnOpenDocument) {
  const auto document = Open("a.rtf");
  EXPECT_NO_THROW(document->ShowApplication());
  document->Close();
  EXPECT_THROW(document->ShowApplication(), WordError);
}

using WriterSaveAsTest = WriterTest;

TEST_F(WriterSaveAsTest, WritesRtfAndTheDocumentBecomesThatFile) {
  const auto document = word_.DocumentsOpen(MakeRtf("a.rtf", "alpha beta"));
  std::filesystem::create_directory(dir_ / "work");
  const auto target = dir_ / "work" / "copy.rtf";

  document->SaveAs(target.string(), kWordFormatRtf);

  const auto written = ReadFile(target);
  ASSERT_TRUE(written.has_value());
  EXPECT_THAT(*written, StartsWith("{\\rtf1"));
  EXPECT_THAT(*written, HasSubstr("alpha beta"));
  EXPECT_EQ(document->Name(), "copy.rtf");
  EXPECT_EQ(document->Path(), (dir_ / "work").string());
  EXPECT_EQ(word_.DocumentsCount(), 1);
  EXPECT_EQ(word_.DocumentsOpen(target.string()), document);
  EXPECT_EQ(word_.DocumentsCount(), 1);
}

TEST_F(WriterSaveAsTest, ReplacesAnExistingFile) {
  const auto document = word_.DocumentsOpen(MakeRtf("a.rtf", "new words"));
  const auto target = dir_ / "old.rtf";
  WriteFile(target, "old content that must go");
  document->SaveAs(target.string(), kWordFormatRtf);
  const auto written = ReadFile(target);
  ASSERT_TRUE(written.has_value());
  EXPECT_THAT(*written, HasSubstr("new words"));
  EXPECT_THAT(*written, Not(HasSubstr("must go")));
}

TEST_F(WriterSaveAsTest, FailsForOtherFormatsAndUnwritablePaths) {
  const auto document = Open("a.rtf");
  EXPECT_THROW(document->SaveAs((dir_ / "x.doc").string(), 0), WordError);
  // A folder cannot be made below a plain file.
  const auto message =
      WordErrorOf([&] { document->SaveAs((dir_ / "a.rtf" / "x.rtf").string(), kWordFormatRtf); });
  EXPECT_THAT(message, HasSubstr("a.rtf/x.rtf"));
  EXPECT_EQ(document->Name(), "a.rtf");
}

TEST_F(WriterSaveAsTest, FailsOverTheFileOfAnotherOpenDocument) {
  const auto a = Open("a.rtf");
  const auto bPath = MakeRtf("b.rtf", "b");
  word_.DocumentsOpen(bPath);
  EXPECT_THROW(a->SaveAs(bPath, kWordFormatRtf), WordError);
  EXPECT_THAT(ReadFile(bPath).value_or(""), HasSubstr(" b\\par"));
  EXPECT_EQ(a->Name(), "a.rtf");
}

using WriterCloseTest = WriterTest;

TEST_F(WriterCloseTest, CloseRemovesTheDocumentForGood) {
  const auto a = Open("a.rtf");
  const auto b = Open("b.rtf");
  a->Close();
  EXPECT_EQ(word_.DocumentsCount(), 1);
  EXPECT_EQ(word_.DocumentsItem(1), b);
  EXPECT_EQ(WordErrorOf([&] { a->Name(); }), "The document has been closed.");
  EXPECT_THROW(a->Close(), WordError);
  EXPECT_THROW(a->SaveAs((dir_ / "x.rtf").string(), kWordFormatRtf), WordError);
}

TEST_F(WriterCloseTest, ClosingTheActiveDocumentActivatesTheNewestOther) {
  const auto a = Open("a.rtf");
  const auto b = Open("b.rtf");
  const auto c = Open("c.rtf");
  a->Activate();
  a->Close();
  EXPECT_EQ(word_.ActiveDocument(), c);
  c->Close();
  EXPECT_EQ(word_.ActiveDocument(), b);
  b->Close();
  EXPECT_EQ(WordErrorOf([&] { word_.ActiveDocument(); }), kNoDocumentMessage);
}

TEST_F(WriterCloseTest, ClosingAnotherDocumentKeepsTheActiveOne) {
  const auto a = Open("a.rtf");
  const auto b = Open("b.rtf");
  b->Activate();
  a->Close();
  EXPECT_EQ(word_.ActiveDocument(), b);
}

TEST_F(WriterCloseTest, AReopenedFileIsANewDocument) {
  const auto path = MakeRtf("a.rtf", "a");
  const auto first = word_.DocumentsOpen(path);
  first->Close();
  const auto second = word_.DocumentsOpen(path);
  EXPECT_NE(second, first);
  EXPECT_EQ(second->Name(), "a.rtf");
  EXPECT_THROW(first->Name(), WordError);
}

}  // namespace
}  // namespace penlark
