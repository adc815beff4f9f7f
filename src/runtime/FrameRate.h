#pragma once
#include <cstddef>
#include <cstdint>

// The --fps line: lift ticks per second and the share of one processor the saver used, both over
// the time since the previous report.
class CFrameRate {
public:
    CFrameRate(int64_t nowMs, int64_t cpuMs);

    void CountLiftTick() { ++m_liftTicks; }
    // Writes the line for the time since the last report into `text` and starts a new period.
    // Returns the line's length.
    int32_t Report(int64_t nowMs, int64_t cpuMs, char* text, size_t size);

    // The processor time this process has used so far, in milliseconds.
    static int64_t GetProcessCpuMs();

private:
    int64_t m_startMs;
    int64_t m_startCpuMs;
    int32_t m_liftTicks;
};
