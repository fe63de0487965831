#pragma once

#include <string>
#include <vector>

namespace penlark {

// The arguments a program was started with, after its own name, as UTF-8 text like all text in
// the program. Windows hands `argv` over in the ANSI code page, which cannot hold every name:
// there they are read from the wide command line instead.
std::vector<std::string> ProgramArguments(int argc, char* argv[]);

}  // namespace penlark
