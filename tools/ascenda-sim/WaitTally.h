#pragma once
#include <cstdint>
#include <vector>

// Every wait of a run, for the mean, the 95th percentile and the maximum, in memory that does not
// grow with the run: a year at full load has about a hundred million waits. A wait that ends at a
// people tick is a whole number of people intervals and is counted in a table by that number;
// only waits that are not (those still running when the run ends) or that are too long for the
// table are kept one by one, and there are few of them.
class CWaitTally {
public:
    // unitMs: the people interval. Allocates the table once, here.
    explicit CWaitTally(int64_t unitMs);

    void Add(int64_t waitMs);

    int64_t GetCount() const { return m_count; }
    int64_t GetSumMs() const { return m_sumMs; }
    int64_t GetMaxMs() const { return m_maxMs; }
    // The nearest-rank percentile: the smallest wait that at least `percent` % of the waits do not
    // exceed; 0 when there are none.
    int64_t GetPercentileMs(int32_t percent);

private:
    static constexpr int64_t TABLE_SIZE = 1 << 16; // people intervals; over 1.8 hours at 100 ms

    int64_t m_unitMs;
    std::vector<int64_t> m_counts; // m_counts[n]: waits of exactly n people intervals
    std::vector<int64_t> m_others; // the rest, in ms
    int64_t m_count = 0;
    int64_t m_sumMs = 0;
    int64_t m_maxMs = 0;
};
