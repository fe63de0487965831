// SOAP reply bodies as a server (or anything pretending to be one) might send them. Both ways of
// reading a reply run on every input, and must agree whenever the fast way answers.

#include "protocol/SoapEnvelope.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const penlark::soap::Reply parsed = penlark::soap::ReadReplyWithParser(body);
  if (!parsed.wellFormed && (parsed.fault || !parsed.result.empty())) {
    std::abort();
  }
  if (const auto fast = penlark::soap::ReadReplyFast(body)) {
    if (fast->wellFormed != parsed.wellFormed || fast->fault != parsed.fault ||
        fast->result != parsed.result) {
      std::abort();
    }
  }
  return 0;
}
