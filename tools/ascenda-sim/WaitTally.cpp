#include "WaitTally.h"

#include <algorithm>

namespace {
// Room for the waits still running at the end of a run, one per person, and some long ones, so
// that an ordinary run allocates nothing after its start.
constexpr size_t OTHERS_RESERVED = 1024;
} // namespace

CWaitTally::CWaitTally(int64_t unitMs) : m_unitMs(unitMs > 0 ? unitMs : 1), m_counts(TABLE_SIZE, 0)
{
    m_others.reserve(OTHERS_RESERVED);
}

void CWaitTally::Add(int64_t waitMs)
{
    ++m_count;
    m_sumMs += waitMs;
    m_maxMs = std::max(m_maxMs, waitMs);
    const int64_t units = waitMs / m_unitMs;
    if (waitMs >= 0 && waitMs % m_unitMs == 0 && units < TABLE_SIZE)
        ++m_counts[static_cast<size_t>(units)];
    else
        m_others.push_back(waitMs);
}

int64_t CWaitTally::GetPercentileMs(int32_t percent)
{
    if (m_count == 0)
        return 0;
    // Rank from 1, rounded up; integer arithmetic, so 95 % of 20 waits is exactly rank 19.
    const int64_t rank = std::max<int64_t>(1, (m_count * percent + 99) / 100);
    std::sort(m_others.begin(), m_others.end());
    // Walks the table and the sorted others together, in ascending order of wait.
    int64_t seen = 0;
    size_t other = 0;
    for (int64_t units = 0; units < TABLE_SIZE; ++units) {
        const int64_t waitMs = units * m_unitMs;
        for (; other < m_others.size() && m_others[other] < waitMs; ++other) {
            if (++seen == rank)
                return m_others[other];
        }
        seen += m_counts[static_cast<size_t>(units)];
        if (seen >= rank)
            return waitMs;
    }
    // Beyond the table: `seen` counts every table entry and the others passed so far.
    return m_others[other + static_cast<size_t>(rank - seen) - 1];
}
