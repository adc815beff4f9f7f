#include "StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>

namespace {

int g_stopPipe[2] = {-1, -1};
volatile sig_atomic_t g_stopSignal = 0; // the stop signal that arrived, 0 for none
const int STOP_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

void OnStopSignal(int signal)
{
    g_stopSignal = signal;
    const char byte = 0;
    const ssize_t written = write(g_stopPipe[1], &byte, 1);
    (void)written; // a full pipe already holds a stop request
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
