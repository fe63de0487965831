#pragma once

#include "word/writer/WriterWord.h"

namespace penlark::testing {

// The headless office shared by the tests of this program: started before the first test, ended
// after the last one. Each test leaves it with no document open.
WriterWord& SharedWriter();

// Closes every document of `word`.
void CloseAllDocuments(Word& word);

}  // namespace penlark::testing
