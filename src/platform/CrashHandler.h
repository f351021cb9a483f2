#pragma once
// Writes a crash report when the process dies from a fatal signal or an uncaught exception.
#include <string>

namespace platform {

// Where the report goes: UserStateFolder() + "Lumenor_Egret.dmp".
std::string CrashDumpPath();

// Records the flags; bit 0 installs the fatal-signal and terminate handlers. The report (signal,
// fault address, thread, module map, then the backtrace) replaces any older one; writing it is
// async-signal-safe and best effort. The process then dies with the original signal.
void InstallCrashFilter(unsigned flags);

// Gives the calling thread an alternate signal stack of its own, so that a stack overflow on it
// still writes a report. Every thread the program starts calls this first; harmless before the
// filter is installed or when called twice. The stack is released when the thread ends.
void InstallThreadCrashStack();

// The flags of the last InstallCrashFilter call (0 before any).
unsigned CrashFilterFlags();

}  // namespace platform
