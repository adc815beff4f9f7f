#include "ParallelCompare.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#ifndef __EMSCRIPTEN__
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

constexpr int POLL_MS = 200; // how often the parent passes the children's progress on

// Hands one of the runs' progress on as the runs' mean, the runs before it being done.
class COffsetSink : public CProgressSink {
public:
    COffsetSink(CProgressSink* target, int64_t offsetMs) : m_target(target), m_offsetMs(offsetMs) {}
    void Advance(int64_t doneMs) override
    {
        if (m_target != nullptr)
            m_target->Advance((m_offsetMs + doneMs) / COMPARE_RUNS);
    }

private:
    CProgressSink* m_target;
    int64_t m_offsetMs;
};

// Each child's simulated time so far, in memory that the children share with the parent.
struct SharedProgress {
    std::atomic<int64_t> doneMs[COMPARE_RUNS];
};

class CSharedSlotSink : public CProgressSink {
public:
    explicit CSharedSlotSink(std::atomic<int64_t>& slot) : m_slot(slot) {}
    void Advance(int64_t doneMs) override { m_slot.store(doneMs, std::memory_order_relaxed); }

private:
    std::atomic<int64_t>& m_slot;
};

struct Child {
    pid_t pid = -1;
    int fd = -1; // the read end of the pipe the child's figures come through
    size_t received = 0;
    CRunSummary summary{};
};

bool WriteAll(int fd, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

[[noreturn]] void RunChild(const CRunOptions& options, CompareRun run, std::atomic<int64_t>& slot, int fd, pid_t parent)
{
#ifndef __EMSCRIPTEN__
    // Ends with the parent, so that an interrupted comparison leaves no run behind.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    if (getppid() != parent)
        _exit(1);
    CSharedSlotSink sink(slot);
    const CRunSummary summary = run(options, &sink);
    // _exit: the parent's buffered output, copied into this process, must not be written twice.
    _exit(WriteAll(fd, &summary, sizeof summary) ? 0 : 1);
}

std::string DescribeFailure(int32_t driver, int status, size_t received)
{
    char text[160];
    const char* name = GetDriverName(driver);
    if (WIFSIGNALED(status))
        std::snprintf(text, sizeof text, "the %s run was killed by signal %d (%s)", name, WTERMSIG(status),
                      strsignal(WTERMSIG(status)));
    else if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        std::snprintf(text, sizeof text, "the %s run failed with exit status %d", name, WEXITSTATUS(status));
    else
        std::snprintf(text, sizeof text, "the %s run ended without its figures (%zu of %zu bytes)", name, received,
                      sizeof(CRunSummary));
    return text;
}

void StopChild(Child& child)
{
    if (child.pid > 0) {
        kill(child.pid, SIGKILL);
        while (waitpid(child.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        child.pid = -1;
    }
    if (child.fd >= 0) {
        close(child.fd);
        child.fd = -1;
    }
}

bool StartChild(const CRunOptions& options, int32_t driver, CompareRun run, SharedProgress& shared, Child& child,
                std::string& error)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        error = std::string("could not start the ") + GetDriverName(driver) + " run: " + std::strerror(errno);
        return false;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("could not start the ") + GetDriverName(driver) + " run: " + std::strerror(errno);
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    if (pid == 0) {
        close(ends[0]);
        CRunOptions variant = options;
        variant.m_driver = driver;
        RunChild(variant, run, shared.doneMs[driver], ends[1], parent);
    }
    close(ends[1]);
    child.pid = pid;
    child.fd = ends[0];
    return true;
}

// Reads what the child has sent. Returns true once the child has closed its end, that is ended.
bool ReadFromChild(Child& child)
{
    char* into = reinterpret_cast<char*>(&child.summary);
    for (;;) {
        const size_t room = sizeof child.summary - child.received;
        char spill[64]; // anything beyond the figures is not ours; it is read and dropped
        const ssize_t got =
            room > 0 ? read(child.fd, into + child.received, room) : read(child.fd, spill, sizeof spill);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno != EAGAIN;
        if (got == 0)
            return true;
        if (room > 0)
            child.received += static_cast<size_t>(got);
        return false;
    }
}

bool RunInChildren(const CRunOptions& options, int32_t jobs, CompareRun run, CProgressSink* progress,
                   SharedProgress& shared, CRunSummary (&rows)[COMPARE_RUNS], std::string& error)
{
    Child children[COMPARE_RUNS];
    int32_t started = 0;
    int32_t running = 0;
    const auto stopAll = [&]() {
        for (Child& child : children)
            StopChild(child);
    };
    while (started < COMPARE_RUNS || running > 0) {
        for (; started < COMPARE_RUNS && running < jobs; ++started, ++running) {
            if (!StartChild(options, started, run, shared, children[started], error)) {
                stopAll();
                return false;
            }
        }
        pollfd polled[COMPARE_RUNS];
        int32_t drivers[COMPARE_RUNS];
        nfds_t count = 0;
        for (int32_t driver = 0; driver < started; ++driver) {
            if (children[driver].fd >= 0) {
                polled[count] = {children[driver].fd, POLLIN, 0};
                drivers[count++] = driver;
            }
        }
        if (poll(polled, count, POLL_MS) < 0 && errno != EINTR) {
            error = std::string("could not wait for the runs: ") + std::strerror(errno);
            stopAll();
            return false;
        }
        for (nfds_t index = 0; index < count; ++index) {
            if (polled[index].revents == 0)
                continue;
            Child& child = children[drivers[index]];
            if (!ReadFromChild(child))
                continue;
            close(child.fd);
            child.fd = -1;
            int status = 0;
            while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
            }
            child.pid = -1;
            --running;
            const bool complete = child.received == sizeof child.summary;
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !complete) {
                error = DescribeFailure(drivers[index], status, child.received);
                stopAll();
                return false;
            }
            rows[drivers[index]] = child.summary;
        }
        if (progress != nullptr) {
            int64_t doneMs = 0;
            for (const std::atomic<int64_t>& slot : shared.doneMs)
                doneMs += slot.load(std::memory_order_relaxed);
            progress->Advance(doneMs / COMPARE_RUNS);
        }
    }
    return true;
}

} // namespace

int32_t GetCompareJobs()
{
#ifdef __EMSCRIPTEN__
    return 1; // WebAssembly under Node.js has no child processes: the runs follow each other
#endif
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    int32_t cores = sched_getaffinity(0, sizeof cpus, &cpus) == 0 ? CPU_COUNT(&cpus) : 0;
    if (cores < 1)
        cores = static_cast<int32_t>(sysconf(_SC_NPROCESSORS_ONLN));
    return cores < 1 ? 1 : (cores > COMPARE_RUNS ? COMPARE_RUNS : cores);
}

bool RunComparison(const CRunOptions& options, int32_t jobs, CompareRun run, CProgressSink* progress,
                   CRunSummary (&rows)[COMPARE_RUNS], std::string& error)
{
    if (jobs <= 1) {
        for (int32_t driver = 0; driver < COMPARE_RUNS; ++driver) {
            CRunOptions variant = options;
            variant.m_driver = driver;
            COffsetSink sink(progress, driver * options.m_durationMs);
            rows[driver] = run(variant, &sink);
        }
        return true;
    }
    void* memory = mmap(nullptr, sizeof(SharedProgress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        error = std::string("could not share progress with the runs: ") + std::strerror(errno);
        return false;
    }
    SharedProgress* shared = new (memory) SharedProgress;
    for (std::atomic<int64_t>& slot : shared->doneMs)
        slot.store(0);
    const bool succeeded = RunInChildren(options, jobs, run, progress, *shared, rows, error);
    shared->~SharedProgress();
    munmap(memory, sizeof(SharedProgress));
    return succeeded;
}
