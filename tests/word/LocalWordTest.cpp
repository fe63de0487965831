#include "word/LocalWord.h"
#include "word/WordContract.h"

namespace penlark::testing {
namespace {

struct LocalWordMaker {
  static constexpr bool kNewestFirst = false;
  Word& Get() { return word; }
  LocalWord word;
};
INSTANTIATE_TYPED_TEST_SUITE_P(Local, WordContract, LocalWordMaker);

TEST(LocalWordTest, ATypedInDocumentHasNoFolderUntilSavedAndOutlivesItsWordAsClosed) {
  TempDir dir;
  std::shared_ptr<WordDocument> document;
  {
    LocalWord word;
    document = word.AddDocument("Document1", "{\\rtf1 new}");
    EXPECT_EQ(document->Name(), "Document1");
    EXPECT_EQ(document->Path(), "");
    document->SaveAs((dir / "Document1.rtf").string(), kWordFormatRtf);
    EXPECT_EQ(ReadFile(dir / "Document1.rtf"), "{\\rtf1 new}");
  }
  EXPECT_THROW(document->Name(), WordError);
}

}  // namespace
}  // namespace penlark::testing
