#include "Progress.h"

#include <unistd.h>

namespace {

constexpr double FIRST_DRAW_SECONDS = 0.5; // before this nothing is drawn
constexpr double SHORT_RUN_SECONDS = 1.0;  // runs expected to end sooner show nothing
constexpr double REDRAW_SECONDS = 0.2;

// Simulated time: "04:05:06", or with days "3d 04:05:06".
void FormatSimulated(char* buffer, size_t bufferSize, int64_t ms)
{
    const long long seconds = ms / 1000;
    const long long days = seconds / 86400;
    const int hours = static_cast<int>(seconds / 3600 % 24);
    const int minutes = static_cast<int>(seconds / 60 % 60);
    const int rest = static_cast<int>(seconds % 60);
    if (days > 0)
        std::snprintf(buffer, bufferSize, "%lldd %02d:%02d:%02d", days, hours, minutes, rest);
    else
        std::snprintf(buffer, bufferSize, "%02d:%02d:%02d", hours, minutes, rest);
}

// Wall-clock time: "0:07", "12:34" or "1:02:03".
void FormatWall(char* buffer, size_t bufferSize, double secondsValue)
{
    const long long seconds = secondsValue > 0.0 ? static_cast<long long>(secondsValue + 0.5) : 0;
    if (seconds >= 3600)
        std::snprintf(buffer, bufferSize, "%lld:%02d:%02d", seconds / 3600, static_cast<int>(seconds / 60 % 60),
                      static_cast<int>(seconds % 60));
    else
        std::snprintf(buffer, bufferSize, "%lld:%02d", seconds / 60, static_cast<int>(seconds % 60));
}

} // namespace

int32_t FormatProgress(char* buffer, size_t bufferSize, const char* label, int64_t doneMs, int64_t totalMs,
                       double elapsedSeconds)
{
    char done[32], total[32], elapsed[32], left[32];
    FormatSimulated(done, sizeof done, doneMs);
    FormatSimulated(total, sizeof total, totalMs);
    FormatWall(elapsed, sizeof elapsed, elapsedSeconds);
    const double fraction = totalMs > 0 ? static_cast<double>(doneMs) / static_cast<double>(totalMs) : 1.0;
    const double leftSeconds = fraction > 0.0 ? elapsedSeconds * (1.0 - fraction) / fraction : 0.0;
    FormatWall(left, sizeof left, leftSeconds);
    const int written = std::snprintf(buffer, bufferSize, "%s %s of %s (%.1f %%), %s elapsed, %s left", label, done,
                                      total, fraction * 100.0, elapsed, left);
    if (written < 0)
        return 0;
    return static_cast<size_t>(written) < bufferSize ? written : static_cast<int32_t>(bufferSize) - 1;
}

CProgressMeter::CProgressMeter(std::FILE* out, int64_t totalMs, bool shown, const char* label)
    : m_out(out), m_label(label), m_totalMs(totalMs), m_shown(shown), m_start(std::chrono::steady_clock::now())
{
}

bool CProgressMeter::IsWanted(std::FILE* out, bool quiet)
{
    return !quiet && out != nullptr && isatty(fileno(out)) == 1;
}

double CProgressMeter::GetElapsedSeconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

void CProgressMeter::Advance(int64_t doneMs)
{
    if (!m_shown || doneMs <= 0)
        return;
    const double elapsed = GetElapsedSeconds();
    if (elapsed < FIRST_DRAW_SECONDS || elapsed - m_lastDrawSeconds < REDRAW_SECONDS)
        return;
    const double fraction = static_cast<double>(doneMs) / static_cast<double>(m_totalMs);
    if (m_drawnLength == 0 && (fraction >= 1.0 || elapsed / fraction < SHORT_RUN_SECONDS))
        return;
    char line[256];
    const int32_t length = FormatProgress(line, sizeof line, m_label, doneMs, m_totalMs, elapsed);
    // Blanks over the end of a longer earlier line; one write, so the line never flickers.
    const int32_t padding = m_drawnLength > length ? m_drawnLength - length : 0;
    std::fprintf(m_out, "\r%s%*s", line, static_cast<int>(padding), "");
    std::fflush(m_out);
    m_drawnLength = length;
    m_lastDrawSeconds = elapsed;
}

void CProgressMeter::Finish()
{
    if (m_drawnLength == 0)
        return;
    std::fprintf(m_out, "\r%*s\r", static_cast<int>(m_drawnLength), "");
    std::fflush(m_out);
    m_drawnLength = 0;
}
