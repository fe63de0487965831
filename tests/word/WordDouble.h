#pragma once

#include <stdexcept>
#include <windows.h>

namespace penlark::testing {

// Registers the test double of Word, built beside this program, as "Word.Application" (once).
inline bool RegisterWordDouble() {
  static const bool registered = [] {
    HMODULE server = ::LoadLibraryW(L"penlark_word_double.dll");
    using Register = HRESULT(WINAPI*)();
    const auto registerServer = reinterpret_cast<Register>(reinterpret_cast<void (*)()>(
        server == nullptr ? nullptr : ::GetProcAddress(server, "DllRegisterServer")));
    if (registerServer == nullptr || FAILED(registerServer())) {
      throw std::runtime_error("The Word double could not be registered.");
    }
    return true;
  }();
  return registered;
}

}  // namespace penlark::testing
