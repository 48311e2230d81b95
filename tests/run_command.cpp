// Running a program, or copies of the test itself, from a test (POSIX: popen, fork and the exit
// status); the cross-built Windows tests leave it out, with the tests that use it.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

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

bool RunCopiesTogether(int count, const std::function<void(int copy)>& body) {
  int start[2];
  if (::pipe(start) != 0) return false;
  std::vector<pid_t> copies;
  for (int copy = 0; copy < count; ++copy) {
    const pid_t child = fork();
    if (child < 0) break;
    if (child == 0) {
      ::close(start[1]);
      char go = 0;
      if (::read(start[0], &go, 1) != 0) _exit(3);  // all start together when the pipe closes
      body(copy);
      _exit(0);
    }
    copies.push_back(child);
  }
  ::close(start[0]);
  ::close(start[1]);
  bool allExited = static_cast<int>(copies.size()) == count;
  for (pid_t child : copies) {
    int status = 0;
    allExited = ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                WEXITSTATUS(status) == 0 && allExited;
  }
  return allExited;
}

}  // namespace test
