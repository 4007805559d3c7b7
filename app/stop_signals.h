#pragma once

// SIGINT, SIGTERM and SIGHUP end an unattended run between two files instead of in the
// middle of one: the signal is only noted, the run stops before its next file, the working
// folders are removed as at any end, and then the program ends by that same signal, as a
// shell expects of a program that was interrupted.
//
//   catchStopSignals();
//   ports.stopRequested = [] { return caughtStopSignal() != 0; };
//   const int status = run();
//   endByCaughtSignal();  // returns only when no signal came
//   return status;

namespace yentax {

void catchStopSignals();

// The signal that asked the run to stop, 0 while none did.
int caughtStopSignal();

// Ends the program by the caught signal, with its default action; returns when there is none.
void endByCaughtSignal();

}  // namespace yentax
