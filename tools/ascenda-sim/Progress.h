#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Hears how far a run has got, in simulated milliseconds.
class CProgressSink {
public:
    virtual void Advance(int64_t doneMs) = 0;

protected:
    ~CProgressSink() = default;
};

// The progress line for the given figures, for example, with the label "Simulated",
//   "Simulated 3d 04:05:06 of 365d 00:00:00 (0.9 %), 0:02 elapsed, 3:41 left"
// which stays within 80 columns, as it must for the carriage return to redraw it in place.
// The time left assumes the rest runs at the pace so far. Returns the length written.
int32_t FormatProgress(char* buffer, size_t bufferSize, const char* label, int64_t doneMs, int64_t totalMs,
                       double elapsedSeconds);

// A one-line progress indicator, redrawn in place on a terminal, for runs long enough that a user
// would wonder whether the program hangs. Runs that look to finish within about a second show
// nothing, and nothing at all is shown unless the meter is switched on.
class CProgressMeter : public CProgressSink {
public:
    // shown: whether the line may be drawn at all; see IsWanted. label: the line's first words.
    CProgressMeter(std::FILE* out, int64_t totalMs, bool shown, const char* label = "Simulated");

    // doneMs counts from 0 to totalMs over the whole of the work, several runs together.
    void Advance(int64_t doneMs) override;
    // Wipes the line, if one was drawn, so that what follows starts on a clean line.
    void Finish();

    // A terminal that --quiet has not silenced. A file or a pipe gets nothing: it would keep every
    // redraw of the line.
    static bool IsWanted(std::FILE* out, bool quiet);

private:
    double GetElapsedSeconds() const;

    std::FILE* m_out;
    const char* m_label;
    int64_t m_totalMs;
    bool m_shown;
    std::chrono::steady_clock::time_point m_start;
    double m_lastDrawSeconds = -1.0;
    int32_t m_drawnLength = 0; // of the line on screen, 0 when none
};
