#include "platform/ProgramArguments.h"

namespace penlark {

std::vector<std::string> ProgramArguments(int argc, char* argv[]) {
  return {argv + 1, argv + argc};
}

}  // namespace penlark
