#include "platform/qt/crash_report.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <execinfo.h>
#include <unistd.h>

// Only async-signal-safe calls in the handler: write, raise, sigaction, nanosleep, and
// backtrace with backtrace_symbols_fd, which allocate nothing once libgcc's unwinder has been
// loaded outside the handler.

namespace zefa::qt {
namespace {

struct FatalSignal {
    int number;
    const char* name;
};
constexpr FatalSignal kFatalSignals[] = {
    {SIGSEGV, "SIGSEGV"}, {SIGABRT, "SIGABRT"}, {SIGBUS, "SIGBUS"},
    {SIGFPE, "SIGFPE"},   {SIGILL, "SIGILL"},
};
constexpr int kMaxFrames = 64;

// The handler runs on a stack of its own, so a stack overflow is reported too.
alignas(16) char alternate_stack[64 * 1024];

std::atomic_flag reporting; // clear

// A line being assembled without the allocator.
class Line {
  public:
    Line& text(const char* s) {
        while (*s != '\0' && used_ < sizeof(buf_))
            buf_[used_++] = *s++;
        return *this;
    }
    Line& number(uintmax_t value, unsigned base) {
        char digits[32];
        int n = 0;
        do {
            digits[n++] = "0123456789abcdef"[value % base];
            value /= base;
        } while (value != 0);
        while (n > 0 && used_ < sizeof(buf_))
            buf_[used_++] = digits[--n];
        return *this;
    }
    void write_out() const {
        const char* p = buf_;
        size_t left = used_;
        while (left > 0) {
            const ssize_t n = write(STDERR_FILENO, p, left);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            p += n;
            left -= static_cast<size_t>(n);
        }
    }

  private:
    char buf_[160];
    size_t used_ = 0;
};

void on_fatal_signal(int sig, siginfo_t* info, void*) {
    if (reporting.test_and_set()) {
        // Another thread is writing its report and ends the process after it; give it time.
        const timespec nap{2, 0};
        nanosleep(&nap, nullptr);
    } else {
        const char* name = "?";
        for (const FatalSignal& s : kFatalSignals)
            if (s.number == sig) name = s.name;
        Line line;
        line.text("zefa: fatal signal ").number(static_cast<unsigned>(sig), 10);
        line.text(" (").text(name).text(")");
        if (info != nullptr && info->si_code <= 0 && info->si_pid == getpid()) // raise, abort
            line.text(", raised by zefa itself");
        else if (info != nullptr && info->si_code <= 0) // kill
            line.text(", sent by process ").number(static_cast<unsigned>(info->si_pid), 10);
        else if (info != nullptr)
            line.text(" at address 0x").number(reinterpret_cast<uintptr_t>(info->si_addr), 16);
        line.text("\n").write_out();
        void* frames[kMaxFrames];
        backtrace_symbols_fd(frames, backtrace(frames, kMaxFrames), STDERR_FILENO);
    }
    // Blocked while this runs, the re-raised signal arrives with the default action on return.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(sig, &fallback, nullptr);
    raise(sig);
}

} // namespace

void install_crash_report() {
    // The first backtrace loads the unwinder, which must not happen inside the handler.
    void* frame = nullptr;
    backtrace(&frame, 1);

    stack_t stack = {};
    stack.ss_sp = alternate_stack;
    stack.ss_size = sizeof(alternate_stack);
    sigaltstack(&stack, nullptr);

    struct sigaction action = {};
    action.sa_sigaction = on_fatal_signal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // A second fault inside the handler then ends the process at once instead of nesting.
    sigemptyset(&action.sa_mask);
    for (const FatalSignal& s : kFatalSignals)
        sigaddset(&action.sa_mask, s.number);
    for (const FatalSignal& s : kFatalSignals)
        sigaction(s.number, &action, nullptr);
}

} // namespace zefa::qt
