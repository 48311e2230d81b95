// Running a program from a test (POSIX: popen and the exit status); the cross-built Windows tests
// leave it out, with the tests that use it.
#include <sys/wait.h>

#include <cstdio>

#include "test_support.h"

namespace test {

CommandResult RunCommand(const std::string& command) {
  CommandResult run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace test
