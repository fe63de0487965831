#pragma once

#include <exception>
#include <string_view>
#include <windows.h>

// How a failure inside a member reaches the calling macro: a failing HRESULT and an error object
// with the message, which automation hands the caller as its EXCEPINFO ("automation error").
namespace penlark::com {

// Sets this thread's error object to `message`, with the class's name as its source, and returns
// the HRESULT that reports it.
HRESULT ReportError(std::string_view message);

// Runs one member; a C++ exception it raises is reported with its message.
template <class Member>
HRESULT Guarded(Member&& member) noexcept {
  try {
    member();
    return S_OK;
  } catch (const std::exception& error) {
    return ReportError(error.what());
  } catch (...) {
    return ReportError("An unknown failure ended the call.");
  }
}

}  // namespace penlark::com
