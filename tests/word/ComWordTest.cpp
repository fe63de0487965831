#include "support/ChildProcess.h"
#include "word/WordContract.h"
#include "word/com/ComWord.h"

#include <windows.h>

namespace penlark::testing {
namespace {

struct ComWordMaker {
  static constexpr bool kNewestFirst = false;
  Word& Get() { return word; }
  // The double of Word's object model, built beside this program, as "Word.Application".
  bool registered = RunProgram("regsvr32.exe", {"/s", "penlark_word_double.dll"}).exitCode == 0;
  ComWord word;
};
INSTANTIATE_TYPED_TEST_SUITE_P(Com, WordContract, ComWordMaker);

TEST(ComWordTest, ReportsWordMissingOrNotServedAndStartsANewApplicationOnRequest) {
  ComWord missing("Penlark.NoSuchWord");
  EXPECT_THAT([&] { missing.DocumentsCount(); },
              FailsWith("Word is not installed: no application is registered as "
                        "\"Penlark.NoSuchWord\"."));
  // A class named but not served: the system's failure, with its code.
  const std::wstring unserved = L"{4E1C7E2A-0D5B-4F7A-9A61-5C3B2D8E9F10}";
  ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Penlark.UnservedWord\\CLSID",
                              nullptr, REG_SZ, unserved.c_str(),
                              static_cast<DWORD>((unserved.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  ComWord notServed("Penlark.UnservedWord");
  EXPECT_THAT([&] { notServed.DocumentsCount(); }, FailsWith(::testing::HasSubstr("0x80040154")));
  TempDir dir;
  WriteFile(dir / "a.rtf", "{\\rtf1 a}");
  ComWordMaker maker;
  const auto document = maker.word.DocumentsOpen((dir / "a.rtf").string());
  document->ShowApplication();
  maker.word.NewApplication();
  EXPECT_EQ(maker.word.DocumentsCount(), 0);
  EXPECT_EQ(document->Name(), "a.rtf");
  document->Close();
}

}  // namespace
}  // namespace penlark::testing
