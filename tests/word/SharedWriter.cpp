#include "word/SharedWriter.h"

#include <memory>

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

class SharedWriterEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { word_ = std::make_unique<WriterWord>(); }
  void TearDown() override { word_.reset(); }

  WriterWord& Word() { return *word_; }

 private:
  std::unique_ptr<WriterWord> word_;
};

auto* const environment = static_cast<SharedWriterEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new SharedWriterEnvironment));

}  // namespace

WriterWord& SharedWriter() {
  return environment->Word();
}

void CloseAllDocuments(Word& word) {
  while (word.DocumentsCount() > 0) {
    word.DocumentsItem(1)->Close();
  }
}

}  // namespace penlark::testing
