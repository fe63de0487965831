// Starts an office, writes its own process id and its office's on a line of standard output and
// waits to be killed: the tests kill this program to see that its office goes with it.

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
