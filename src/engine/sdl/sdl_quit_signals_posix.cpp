// SIGINT and SIGTERM on POSIX systems. SDL's own handler turns them into a quit event, which the
// main loop takes as a close request at its next pump. That pump may be late: a display that does
// not answer can hold the loop in one of its calls for many seconds. So a handler of ours goes in
// front of SDL's: the first signal still asks the game to close through SDL, and arms a one-second
// alarm; if the program is still there when it rings, or when a second signal comes, it ends
// itself the way the signal would have ended it. Nothing is lost: scores are written, atomically,
// the moment they are made.
#include <errno.h>
#include <signal.h>
#include <unistd.h>

#include <array>

#include "engine/sdl/sdl_platform.h"

namespace {

constexpr unsigned kDeadlineSeconds = 1;
constexpr std::array<int, 2> kQuitSignals = {SIGINT, SIGTERM};

// The handlers that were there before ours (SDL's), by position in kQuitSignals.
std::array<struct sigaction, kQuitSignals.size()> previous{};
volatile sig_atomic_t pending = 0;  // the first quit signal that came, 0 before any

void OnQuitSignal(int signal);

void Handle(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, nullptr);
}

// Ends the program as an unhandled signal does (the parent sees which one).
[[noreturn]] void EndBy(int signal) {
  Handle(signal, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  _exit(128 + signal);
}

void OnDeadline(int) {
  EndBy(pending != 0 ? static_cast<int>(pending) : SIGTERM);
}

void OnQuitSignal(int signal) {
  const int savedErrno = errno;
  if (pending != 0) EndBy(signal);
  pending = signal;
  for (size_t i = 0; i < kQuitSignals.size(); ++i) {
    if (kQuitSignals[i] != signal) continue;
    // SDL's handler notes the quit for the next pump, and puts itself back with signal(); ours
    // goes back in front of it.
    previous[i].sa_handler(signal);
    Handle(signal, OnQuitSignal);
  }
  Handle(SIGALRM, OnDeadline);
  alarm(kDeadlineSeconds);
  errno = savedErrno;
}

}  // namespace

void EndPromptlyOnQuitSignals() {
  for (size_t i = 0; i < kQuitSignals.size(); ++i) {
    struct sigaction current {};
    if (sigaction(kQuitSignals[i], nullptr, &current) != 0) continue;
    // Only in front of a handler: a signal left at its default ends the program at once anyway,
    // and one the caller ignores (nohup) stays ignored. Ours is there already after a restart.
    if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler == SIG_DFL ||
        current.sa_handler == SIG_IGN || current.sa_handler == OnQuitSignal) {
      continue;
    }
    previous[i] = current;
    Handle(kQuitSignals[i], OnQuitSignal);
  }
}
