// Starts an office, writes its process id on a line of standard output and waits to be killed:
// the tests kill this program to see that its office goes with it.

#include "word/writer/WriterWord.h"

#include <iostream>
#include <unistd.h>

int main() {
  penlark::WriterWord word;
  std::cout << word.OfficeProcessId() << std::endl;
  for (;;) {
    pause();
  }
}
