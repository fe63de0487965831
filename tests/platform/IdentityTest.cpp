#include "platform/Identity.h"

#include <gtest/gtest.h>

namespace penlark {
namespace {

TEST(Identity, TheComputerNameIsTheShortHostName) {
  const std::pair<std::string, std::string> cases[] = {{"desk7", "desk7"},
                                                       {"desk7.corp.example.com", "desk7"},
                                                       {" desk7 .lan", "desk7"},
                                                       {".lan", ""}};
  for (const auto& [host, computer] : cases) {
    EXPECT_EQ(ComputerNameOf(host), computer) << host;
  }
  EXPECT_EQ(CurrentComputerName().find('.'), std::string::npos);
}

}  // namespace
}  // namespace penlark
