#include "platform/ProgramArguments.h"

#include "platform/windows/WideText.h"

#include <memory>
#include <windows.h>

namespace penlark {

std::vector<std::string> ProgramArguments(int /*argc*/, char* /*argv*/[]) {
  int count = 0;
  const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> wide(
      ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) {
    arguments.push_back(ToUtf8(wide.get()[i]));
  }
  return arguments;
}

}  // namespace penlark
