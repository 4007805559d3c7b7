#include "app/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>
#include <tuple>

namespace yentax {

namespace {

volatile std::sig_atomic_t caught = 0;
// The pipe an event loop watches; set before the handler is installed.
int pipeEnds[2] = {-1, -1};

void noteSignal(int signal) {
  caught = signal;
  if (pipeEnds[1] < 0) return;
  const int savedErrno = errno;
  const auto number = static_cast<unsigned char>(signal);
  // A full pipe already holds a signal for the loop to find.
  std::ignore = ::write(pipeEnds[1], &number, 1);
  errno = savedErrno;
}

void installHandler(int flags) {
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace

// No SA_RESTART: a read waiting on a slow file gives up, so the run reaches its next stop.
void catchStopSignals() { installHandler(0); }

int catchStopSignalsForEventLoop() {
  if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
    pipeEnds[0] = pipeEnds[1] = -1;
    return -1;
  }
  // The loop wakes through the pipe; every other call may simply go on.
  installHandler(SA_RESTART);
  return pipeEnds[0];
}

int takeStopSignal(int descriptor) {
  int signal = 0;
  unsigned char number = 0;
  while (::read(descriptor, &number, 1) == 1) signal = number;
  return signal;
}

int caughtStopSignal() { return caught; }

void endByCaughtSignal() {
  const int signal = caught;
  if (signal == 0) return;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace yentax
