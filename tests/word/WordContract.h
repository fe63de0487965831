#pragma once

#include "support/TempDir.h"
#include "word/Word.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// What every word processor behind Word does for the flows. The maker's Get() gives one with no
// document open, kNewestFirst: DocumentsItem(1) is the newest; its end leaves none open.
namespace penlark::testing {

template <typename Maker>
class WordContract : public ::testing::Test {
 protected:
  std::string MakeRtf(std::string_view name, std::string_view text) {
    WriteFile(dir_ / name, "{\\rtf1\\ansi " + std::string(text) + "\\par}");
    return (dir_ / name).string();
  }
  std::shared_ptr<WordDocument> Open(std::string_view name) {
    return word_.DocumentsOpen(MakeRtf(name, "text of " + std::string(name)));
  }

  TempDir dir_;
  Maker maker_;
  Word& word_ = maker_.Get();
};

TYPED_TEST_SUITE_P(WordContract);

inline auto FailsWith(const ::testing::Matcher<const std::string&>& message) {
  return ::testing::ThrowsMessage<WordError>(message);
}

TYPED_TEST_P(WordContract, OpensFilesForTheirDocumentsTheLastOpenedActive) {
  Word& word = this->word_;
  EXPECT_EQ(word.DocumentsCount(), 0);
  EXPECT_THAT([&] { word.ActiveDocument(); }, FailsWith(kNoDocumentMessage));
  EXPECT_THAT([&] { word.DocumentsOpen((this->dir_ / "absent.rtf").string()); },
              FailsWith(::testing::HasSubstr("absent.rtf")));
  EXPECT_THROW(word.DocumentsOpen(this->dir_.Path().string()), WordError);
  EXPECT_EQ(word.DocumentsCount(), 0);

  std::filesystem::create_directory(this->dir_ / "my work");
  const auto a = this->Open("my work/Bericht über 50%.rtf");
  EXPECT_EQ(a->Name(), "Bericht über 50%.rtf");
  EXPECT_EQ(a->Path(), (this->dir_ / "my work").string());
  const auto b = this->Open("b.rtf");
  const auto c = this->Open("c.rtf");
  EXPECT_EQ(word.ActiveDocument(), c);
  const auto inOrder = TypeParam::kNewestFirst ? std::vector{c, b, a} : std::vector{a, b, c};
  ASSERT_EQ(word.DocumentsCount(), 3);
  EXPECT_EQ((std::vector{word.DocumentsItem(1), word.DocumentsItem(2), word.DocumentsItem(3)}),
            inOrder);
  EXPECT_THAT([&] { word.DocumentsItem(0); }, FailsWith(::testing::HasSubstr("does not exist")));
  EXPECT_THROW(word.DocumentsItem(4), WordError);

  // An open file opened again is its document, made active.
  EXPECT_EQ(word.DocumentsOpen((this->dir_ / "b.rtf").string()), b);
  EXPECT_EQ(word.DocumentsCount(), 3);
  EXPECT_EQ(word.ActiveDocument(), b);
  a->Activate();
  EXPECT_EQ(word.ActiveDocument(), a);
}

TYPED_TEST_P(WordContract, SaveAsWritesRtfAndTheDocumentBecomesThatFileOrRefuses) {
  Word& word = this->word_;
  const auto document = word.DocumentsOpen(this->MakeRtf("a.rtf", "alpha beta \\'e9t\\'e9"));
  std::filesystem::create_directory(this->dir_ / "work");
  const auto target = this->dir_ / "work" / "copy.rtf";
  WriteFile(target, "old content that must go");

  document->SaveAs(target.string(), kWordFormatRtf);

  const auto written = ReadFile(target).value_or("");
  EXPECT_THAT(written, ::testing::StartsWith("{\\rtf1"));
  EXPECT_THAT(written, ::testing::HasSubstr("alpha beta"));
  EXPECT_THAT(written, ::testing::HasSubstr("\\'e9t"));
  EXPECT_THAT(written, ::testing::Not(::testing::HasSubstr("must go")));
  EXPECT_EQ(document->Name(), "copy.rtf");
  EXPECT_EQ(document->Path(), (this->dir_ / "work").string());
  EXPECT_EQ(word.DocumentsOpen(target.string()), document);
  EXPECT_EQ(word.DocumentsCount(), 1);

  // Refused: other formats, paths that cannot be written, the file of another open document.
  const auto b = word.DocumentsOpen(this->MakeRtf("b.rtf", "b"));
  EXPECT_THROW(document->SaveAs((this->dir_ / "x.doc").string(), 0), WordError);
  // A folder cannot be made below a plain file.
  EXPECT_THAT([&] { document->SaveAs((this->dir_ / "b.rtf" / "x.rtf").string(), kWordFormatRtf); },
              FailsWith(::testing::HasSubstr((std::filesystem::path("b.rtf") / "x.rtf").string())));
  EXPECT_THROW(document->SaveAs((this->dir_ / "b.rtf").string(), kWordFormatRtf), WordError);
  EXPECT_THAT(ReadFile(this->dir_ / "b.rtf").value_or(""), ::testing::HasSubstr(" b\\par"));
  EXPECT_EQ(document->Name(), "copy.rtf");
}

TYPED_TEST_P(WordContract, ClosingTheActiveDocumentActivatesTheNewestOtherAndEndsTheClosedOne) {
  Word& word = this->word_;
  const auto a = this->Open("a.rtf");
  const auto b = this->Open("b.rtf");
  const auto c = this->Open("c.rtf");
  a->Activate();
  a->Close();
  EXPECT_EQ(word.DocumentsCount(), 2);
  EXPECT_EQ(word.ActiveDocument(), c);
  EXPECT_THAT([&] { a->Name(); }, FailsWith("The document has been closed."));
  EXPECT_THROW(a->Close(), WordError);
  EXPECT_THROW(a->SaveAs((this->dir_ / "x.rtf").string(), kWordFormatRtf), WordError);
  EXPECT_THROW(a->ShowApplication(), WordError);
  b->Close();
  EXPECT_EQ(word.ActiveDocument(), c);
  c->Close();
  EXPECT_THAT([&] { word.ActiveDocument(); }, FailsWith(kNoDocumentMessage));
  // A file opened again is a new document.
  const auto again = word.DocumentsOpen((this->dir_ / "a.rtf").string());
  EXPECT_NE(again, a);
  EXPECT_EQ(again->Name(), "a.rtf");
}

REGISTER_TYPED_TEST_SUITE_P(WordContract, OpensFilesForTheirDocumentsTheLastOpenedActive,
                            SaveAsWritesRtfAndTheDocumentBecomesThatFileOrRefuses,
                            ClosingTheActiveDocumentActivatesTheNewestOtherAndEndsTheClosedOne);

}  // namespace penlark::testing
