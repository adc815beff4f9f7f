#include "StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

int g_stopPipe[2] = {-1, -1};
volatile sig_atomic_t g_stopSignal = 0; // the stop signal that arrived, 0 for none
const int STOP_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

void OnStopSignal(int signal)
{
    // The signal may land between a call and its caller's look at errno.
    const int savedErrno = errno;
    g_stopSignal = signal;
    const char byte = 0;
    const ssize_t written = write(g_stopPipe[1], &byte, 1);
    (void)written; // a full pipe already holds a stop request
    errno = savedErrno;
}

// A shell starts a background job (`&` in a script) with SIGINT ignored, and nohup starts its
// command with SIGHUP ignored, so that the terminal's ^C or hang-up leaves them running; a
// program that caught them anyway would undo that.
bool StartedIgnored(int signal)
{
    struct sigaction current {};
    return (signal == SIGINT || signal == SIGHUP) && sigaction(signal, nullptr, &current) == 0 &&
           current.sa_handler == SIG_IGN;
}

} // namespace

bool InstallStopSignals()
{
    if (pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : STOP_SIGNALS) {
        if (StartedIgnored(signal))
            continue;
        if (sigaction(signal, &action, nullptr) != 0)
            return false;
    }
    return true;
}

int GetStopSignalFd()
{
    return g_stopPipe[0];
}

void EndByStopSignal()
{
    const int signal = g_stopSignal;
    if (signal == 0)
        return;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
