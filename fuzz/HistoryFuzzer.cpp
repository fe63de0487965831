// History files. The first byte chooses the input: odd, the rest is a history file's bytes as
// they stand; even, the rest is the plain text, encrypted here, so that the fuzzer explores the
// lines and fields behind the cipher.

#include "platform/CodePage.h"
#include "protocol/ConnectionUtils.h"
#include "protocol/Encryption.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

class SilentPrompts final : public penlark::Prompts {
 public:
  penlark::MessageAnswer ShowMessage(const penlark::Message&) override {
    return penlark::MessageAnswer::Ok;
  }
  std::string InputBox(const penlark::InputRequest&) override { return {}; }
};

const std::string kHeader = penlark::HistoryHeader("ann", "DESK7");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string fileBytes(input);
  if (data[0] % 2 == 0) {
    fileBytes = penlark::codepage::Utf8ToAnsi(penlark::Encryption::EncryptText(
                    penlark::codepage::AnsiToUtf8(input), penlark::kHistoryCipherPassword)) +
                "\r\n";
  }
  SilentPrompts prompts;
  penlark::ConnectionHistory history;
  const bool loaded = history.LoadHistoryFrom(fileBytes, kHeader, prompts);
  if (loaded != (history.Count() > 0)) {
    std::abort();
  }
  for (std::size_t i = 0; i < history.Count(); ++i) {
    if (history.HistoryServer(i).find('\t') != std::string::npos ||
        history.HistoryUser(i).find('\t') != std::string::npos ||
        history.HistoryPassword(i).find("\r\n") != std::string::npos) {
      std::abort();
    }
  }
  return 0;
}
