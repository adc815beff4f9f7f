#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "sim/Colour.h"

// Helpers for tests that run the saver as a process against a private virtual X server.

inline int64_t TestNowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// A child that goes when the test program does, however that ends: one left running would hold
// the test's output open, and ctest would wait for it to its timeout.
inline void EndWithParent(pid_t parent)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
}

// Polls `condition` every 20 ms until it holds or `timeoutMs` has passed.
inline bool WaitFor(const std::function<bool()>& condition, int64_t timeoutMs)
{
    const int64_t end = TestNowMs() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (TestNowMs() >= end)
            return false;
        usleep(20000);
    }
}

// Reads a child's output pipe to its end without blocking the test for longer than `timeoutMs`.
inline std::string ReadPipe(int fd, int64_t timeoutMs)
{
    std::string text;
    const int64_t end = TestNowMs() + timeoutMs;
    for (;;) {
        pollfd watched{fd, POLLIN, 0};
        const int64_t left = end - TestNowMs();
        if (left <= 0 || poll(&watched, 1, static_cast<int>(left)) <= 0)
            return text;
        char buffer[512];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return text;
        text.append(buffer, static_cast<size_t>(got));
    }
}

// A child process with its environment changed and its stderr captured.
class CChildProcess {
public:
    // `environment`: "NAME=value" sets, "NAME" alone unsets.
    CChildProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
    {
        int errorPipe[2];
        if (pipe2(errorPipe, O_CLOEXEC) != 0)
            return;
        const pid_t parent = getpid();
        m_pid = fork();
        if (m_pid == 0) {
            EndWithParent(parent);
            dup2(errorPipe[1], 2);
            for (const std::string& entry : environment) {
                const size_t equals = entry.find('=');
                if (equals == std::string::npos)
                    unsetenv(entry.c_str());
                else
                    setenv(entry.substr(0, equals).c_str(), entry.c_str() + equals + 1, 1);
            }
            std::vector<char*> argv;
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(errorPipe[1]);
        m_errorFd = errorPipe[0];
    }
    ~CChildProcess()
    {
        if (m_pid > 0 && !m_ended) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_errorFd >= 0)
            close(m_errorFd);
    }
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool IsRunning()
    {
        Reap(WNOHANG);
        return m_pid > 0 && !m_ended;
    }
    // Waits up to `timeoutMs` for the process to end; true when it did.
    bool WaitForExit(int64_t timeoutMs)
    {
        return WaitFor([this] { return !IsRunning(); }, timeoutMs);
    }
    void Signal(int signal) { kill(m_pid, signal); }
    // The exit status, or -1 when it did not exit normally (or has not ended).
    int GetExitCode() const { return m_ended && WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1; }
    bool WasKilledBySignal() const { return m_ended && WIFSIGNALED(m_status); }
    // The signal that ended it, or 0 when none did.
    int GetEndingSignal() const { return WasKilledBySignal() ? WTERMSIG(m_status) : 0; }
    // What it wrote to stderr; call after it ended.
    std::string ReadError() { return ReadPipe(m_errorFd, 2000); }

private:
    void Reap(int flags)
    {
        if (m_pid > 0 && !m_ended && waitpid(m_pid, &m_status, flags) == m_pid)
            m_ended = true;
    }

    pid_t m_pid = -1;
    int m_errorFd = -1;
    int m_status = 0;
    bool m_ended = false;
};

// A private virtual X server with one 1920 x 1080 screen, its root black, on a free display number.
class CVirtualDisplay {
public:
    CVirtualDisplay()
    {
        int numberPipe[2];
        if (pipe2(numberPipe, O_CLOEXEC) != 0)
            return;
        const std::string fd = std::to_string(numberPipe[1]);
        const pid_t parent = getpid();
        m_server = fork();
        if (m_server == 0) {
            EndWithParent(parent);
            fcntl(numberPipe[1], F_SETFD, 0); // the server writes its display number here
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24", "-nolisten", "tcp", "-br",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(numberPipe[1]);
        const std::string number = ReadPipe(numberPipe[0], 20000);
        close(numberPipe[0]);
        if (number.empty())
            return;
        m_name = ":" + number.substr(0, number.find('\n'));
        m_display = XOpenDisplay(m_name.c_str());
        // A window the saver has made but not yet mapped, or is taking down, answers a request for
        // its picture with an error, and Xlib's own handler would end the test program there: the
        // request returns nothing instead, and the test's poll asks again.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~CVirtualDisplay()
    {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
        if (m_server > 0) {
            kill(m_server, SIGTERM);
            waitpid(m_server, nullptr, 0);
        }
    }
    CVirtualDisplay(const CVirtualDisplay&) = delete;
    CVirtualDisplay& operator=(const CVirtualDisplay&) = delete;

    Display* Get() const { return m_display; }
    const std::string& GetName() const { return m_name; }

    // A mapped top-level window with a black background, which no window manager will move.
    Window CreateWindow(int x, int y, unsigned width, unsigned height)
    {
        XSetWindowAttributes attributes{};
        attributes.background_pixel = BlackPixel(m_display, DefaultScreen(m_display));
        attributes.override_redirect = True;
        const Window window =
            XCreateWindow(m_display, DefaultRootWindow(m_display), x, y, width, height, 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
        XMapWindow(m_display, window);
        XSync(m_display, False);
        return window;
    }

    // The colour of one pixel of a window as the screen shows it.
    Colour GetColour(Window window, int x, int y) const
    {
        XImage* image = XGetImage(m_display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return 0xFFFFFFFF;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return MakeColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

    // Whether any pixel of the area has the colour.
    bool AreaHolds(Window window, int x, int y, unsigned width, unsigned height, Colour colour) const
    {
        XImage* image = XGetImage(m_display, window, x, y, width, height, AllPlanes, ZPixmap);
        if (image == nullptr)
            return false;
        bool found = false;
        for (unsigned row = 0; row < height && !found; ++row) {
            for (unsigned column = 0; column < width && !found; ++column) {
                const unsigned long pixel = XGetPixel(image, static_cast<int>(column), static_cast<int>(row));
                found = MakeColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF) == colour;
            }
        }
        XDestroyImage(image);
        return found;
    }

private:
    pid_t m_server = -1;
    std::string m_name;
    Display* m_display = nullptr;
};
