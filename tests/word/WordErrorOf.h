#pragma once

#include "word/Word.h"

#include <string>

#include <gtest/gtest.h>

namespace penlark::testing {

// The message of the WordError that `call` raises; a test failure when it raises none.
template <typename Call>
std::string WordErrorOf(Call&& call) {
  try {
    call();
  } catch (const WordError& error) {
    return error.what();
  }
  ADD_FAILURE() << "no WordError was raised";
  return {};
}

}  // namespace penlark::testing
