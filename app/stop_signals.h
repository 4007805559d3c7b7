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
//
// A window waits in its event loop rather than between files, and a signal handler may
// not touch the windows; so the handler also writes the signal into a pipe, whose other
// end the event loop watches and answers by closing the windows:
//
//   const int descriptor = catchStopSignalsForEventLoop();
//   // readable once a signal came: takeStopSignal(descriptor), then close the windows

namespace yentax {

void catchStopSignals();

// Catches the same signals and makes each one readable on the returned descriptor (the
// read end of a pipe, the same one at every call). -1 when no pipe can be made; the
// signals then keep their default action.
int catchStopSignalsForEventLoop();

// Empties the descriptor without waiting; the last signal read from it, 0 when none.
int takeStopSignal(int descriptor);

// The signal that asked the run to stop, 0 while none did.
int caughtStopSignal();

// Ends the program by the caught signal, with its default action; returns when there is none.
void endByCaughtSignal();

}  // namespace yentax
