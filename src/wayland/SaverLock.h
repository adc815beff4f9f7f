#pragma once
#include <sys/types.h>

// One saver per user and compositor. The running saver holds a lock on a file in the user's
// runtime folder named after the compositor's socket, and writes its process id there, so that a
// second start while it runs does nothing and --stop finds it. The kernel lets the lock go when
// the process ends, however it ends, so a saver that crashed never blocks the next.
class CSaverLock {
public:
    CSaverLock();
    ~CSaverLock();
    CSaverLock(const CSaverLock&) = delete;
    CSaverLock& operator=(const CSaverLock&) = delete;

    // Opens the file, creating it. False (the reason on stderr) where there is no runtime folder.
    bool Open();
    // Takes the lock when no other process holds it.
    bool TryTake();
    // Records `pid` as the holder's.
    void SetHolder(pid_t pid);
    // The process id the holder wrote, 0 while none is there.
    pid_t GetHolder() const;
    // Closes this process's copy of the file: a child that inherited it keeps the lock.
    void Close();

private:
    int m_fd;
};

// --background: takes the lock and goes on in a child process detached from the caller, so that
// an idle daemon that waits for its commands (swayidle -w) is free again at once. Returns -1 in
// the child, which then runs the saver and writes a byte to `readyFd` once it has reached the
// compositor; in the caller, the status to exit with as soon as that is known: 0 once the child
// is running (or when a saver runs already), 1 when it could not start.
int StartInBackground(CSaverLock& lock, int& readyFd);

// --stop: ends the running saver with SIGTERM and waits, a few seconds at most, until it has
// gone. Returns the exit status: 0 also when none was running, 1 when it did not go.
int StopRunningSaver();
