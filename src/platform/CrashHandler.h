#pragma once
// Writes a crash report when the process dies from a fatal signal or an uncaught exception.
#include <string>

namespace platform {

// Where the report goes: UserStateFolder() + "Lumenor_Egret.dmp".
std::string CrashDumpPath();

// Records the flags; bit 0 installs the fatal-signal and terminate handlers. The report (signal,
// fault address, thread, backtrace, module map) replaces any older one atomically; writing it is
// async-signal-safe and best effort. The process then dies with the original signal.
void InstallCrashFilter(unsigned flags);

// The flags of the last InstallCrashFilter call (0 before any).
unsigned CrashFilterFlags();

}  // namespace platform
