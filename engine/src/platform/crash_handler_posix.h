#pragma once
// Crash capture: POSIX signal handlers on an alternate stack write "VQ.dmp"
// (minidump layout) and the crash report in "VQ.log", then let the signal
// end the process so that its exit status stays honest.

#include <cstdint>

namespace VQ {

// Installs the handlers for SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP and
// SIGABRT and the terminate handler, and gives the calling thread its
// alternate signal stack.
void installCrashHandler();

// Every thread the engine creates calls this first: a stack overflow can
// only be reported from a stack of its own.
void installCrashHandlerStackForThread();

// The Windows exception code of the same event, so the report keeps meaning
// what it says (0xC0000005 for an access violation, ...).
uint32_t exceptionCodeForSignal(int signal, int code);

}  // namespace VQ
