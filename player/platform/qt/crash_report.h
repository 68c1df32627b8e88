#pragma once

namespace zefa::qt {

// On SIGSEGV, SIGABRT, SIGBUS, SIGFPE or SIGILL writes "zefa: fatal signal N" and a backtrace to
// standard error, then lets the signal take its default course, so the core file and the exit
// status still tell the signal. Call first thing in main(): a crash during start-up is reported.
void install_crash_report();

} // namespace zefa::qt
