#include "app/stop_signals.h"

#include <csignal>
#include <initializer_list>

namespace yentax {

namespace {

volatile std::sig_atomic_t caught = 0;

void noteSignal(int signal) { caught = signal; }

}  // namespace

void catchStopSignals() {
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a read waiting on a slow file gives up, so the run reaches its next stop.
  action.sa_flags = 0;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

int caughtStopSignal() { return caught; }

void endByCaughtSignal() {
  const int signal = caught;
  if (signal == 0) return;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace yentax
