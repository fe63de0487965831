// Starts an office, prints its own and the office's process ids and waits to be killed.

#include "word/writer/WriterWord.h"

#include <csignal>
#include <iostream>
#include <sys/prctl.h>
#include <unistd.h>

int main() {
  // Not left behind, with its office, when the test that runs it dies first.
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) {
    return 1;
  }
  penlark::WriterWord word;
  std::cout << getpid() << ' ' << word.OfficeProcessId() << std::endl;
  for (;;) {
    pause();
  }
}
