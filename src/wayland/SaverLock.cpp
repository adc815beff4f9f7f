#include "SaverLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int STOP_WAIT_MS = 5000;
constexpr int STOP_POLL_MS = 20;

void SleepMs(int milliseconds)
{
    const timespec pause{0, static_cast<long>(milliseconds) * 1000000};
    nanosleep(&pause, nullptr);
}

} // namespace

CSaverLock::CSaverLock() : m_fd(-1) {}

CSaverLock::~CSaverLock()
{
    Close();
}

bool CSaverLock::Open()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/') {
        std::fprintf(stderr, "ascenda-wayland: XDG_RUNTIME_DIR is not set, so there is no telling whether a saver "
                             "runs already\n");
        return false;
    }
    // The socket's name may be a path of its own; its slashes are left out of the file's name.
    const char* display = std::getenv("WAYLAND_DISPLAY");
    char socket[128];
    std::snprintf(socket, sizeof socket, "%s", display != nullptr && display[0] != '\0' ? display : "wayland-0");
    for (char* character = socket; *character != '\0'; ++character) {
        if (*character == '/')
            *character = '_';
    }
    char path[512];
    std::snprintf(path, sizeof path, "%s/ascenda-wayland-%s.pid", runtime, socket);
    m_fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        std::fprintf(stderr, "ascenda-wayland: %s: %s\n", path, std::strerror(errno));
        return false;
    }
    return true;
}

bool CSaverLock::TryTake()
{
    return flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}

void CSaverLock::SetHolder(pid_t pid)
{
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%ld\n", static_cast<long>(pid));
    if (ftruncate(m_fd, 0) != 0 || pwrite(m_fd, text, static_cast<size_t>(length), 0) != length)
        std::fprintf(stderr, "ascenda-wayland: cannot write the saver's process id: %s\n", std::strerror(errno));
}

pid_t CSaverLock::GetHolder() const
{
    char text[32] = {};
    if (pread(m_fd, text, sizeof text - 1, 0) <= 0)
        return 0;
    const long pid = std::strtol(text, nullptr, 10);
    return pid > 0 ? static_cast<pid_t>(pid) : 0;
}

void CSaverLock::Close()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

int StartInBackground(CSaverLock& lock, int& readyFd)
{
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) {
        std::perror("ascenda-wayland: pipe");
        return 1;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("ascenda-wayland: fork");
        return 1;
    }
    if (child == 0) {
        close(ready[0]);
        // A session of its own: the caller's terminal, its hang-up and its ^C are not the saver's.
        setsid();
        const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (nothing >= 0) {
            dup2(nothing, STDIN_FILENO);
            close(nothing);
        }
        lock.SetHolder(getpid());
        readyFd = ready[1];
        return -1;
    }
    close(ready[1]);
    lock.Close(); // the child holds the lock from here on
    char byte = 0;
    ssize_t got = 0;
    do {
        got = read(ready[0], &byte, 1);
    } while (got < 0 && errno == EINTR);
    close(ready[0]);
    if (got == 1)
        return 0;
    // The child ended before it reached the compositor, having said why.
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 0 ? WEXITSTATUS(status) : 1;
}

int StopRunningSaver()
{
    CSaverLock lock;
    if (!lock.Open())
        return 1;
    pid_t signalled = 0;
    for (int waited = 0; waited < STOP_WAIT_MS; waited += STOP_POLL_MS) {
        if (lock.TryTake())
            return 0; // none runs, or it has gone
        // The holder writes its id just after taking the lock: until then there is none to read.
        const pid_t holder = lock.GetHolder();
        if (holder != 0 && holder != signalled && kill(holder, SIGTERM) == 0)
            signalled = holder;
        SleepMs(STOP_POLL_MS);
    }
    std::fprintf(stderr, "ascenda-wayland: the running saver (process %ld) did not end\n",
                 static_cast<long>(signalled));
    return 1;
}
