#pragma once

#include "word/writer/WriterWord.h"

#include <memory>

#include <gtest/gtest.h>

namespace penlark::testing {

// The headless office shared by the tests of one program: started before the first test, ended
// after the last one. Each test leaves it with no document open.
struct SharedWriterEnvironment final : ::testing::Environment {
  void SetUp() override { word = std::make_unique<WriterWord>(); }
  void TearDown() override { word.reset(); }
  std::unique_ptr<WriterWord> word;
};

inline auto* const sharedWriterEnvironment = static_cast<SharedWriterEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new SharedWriterEnvironment));

inline WriterWord& SharedWriter() {
  return *sharedWriterEnvironment->word;
}

inline void CloseAllDocuments(Word& word) {
  while (word.DocumentsCount() > 0) {
    word.DocumentsItem(1)->Close();
  }
}

}  // namespace penlark::testing
