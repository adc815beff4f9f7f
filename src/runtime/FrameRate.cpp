#include "FrameRate.h"

#include <time.h>

#include <cstdio>

CFrameRate::CFrameRate(int64_t nowMs, int64_t cpuMs) : m_startMs(nowMs), m_startCpuMs(cpuMs), m_liftTicks(0) {}

int32_t CFrameRate::Report(int64_t nowMs, int64_t cpuMs, char* text, size_t size)
{
    // A report in the same millisecond as the last one counts over one millisecond.
    const double elapsedMs = nowMs > m_startMs ? static_cast<double>(nowMs - m_startMs) : 1.0;
    const double ticksPerSecond = m_liftTicks * 1000.0 / elapsedMs;
    const double cpuPercent = static_cast<double>(cpuMs - m_startCpuMs) * 100.0 / elapsedMs;
    // Padded to one width, so that a shorter line covers all of a longer one before it.
    const int length = std::snprintf(text, size, "%6.1f lift ticks/s  CPU %5.1f%%", ticksPerSecond, cpuPercent);
    m_startMs = nowMs;
    m_startCpuMs = cpuMs;
    m_liftTicks = 0;
    return length < 0 ? 0 : (static_cast<size_t>(length) < size ? length : static_cast<int32_t>(size) - 1);
}

int64_t CFrameRate::GetProcessCpuMs()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<int64_t>(used.tv_sec) * 1000 + used.tv_nsec / 1000000;
}
