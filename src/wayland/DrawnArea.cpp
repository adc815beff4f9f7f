#include "DrawnArea.h"

#include <cstddef>
#include <cstring>

namespace {

PixelRect Join(const PixelRect& first, const PixelRect& second)
{
    return {first.left < second.left ? first.left : second.left, first.top < second.top ? first.top : second.top,
            first.right > second.right ? first.right : second.right,
            first.bottom > second.bottom ? first.bottom : second.bottom};
}

PixelRect Cut(const PixelRect& rect, const PixelRect& bounds)
{
    return {rect.left > bounds.left ? rect.left : bounds.left, rect.top > bounds.top ? rect.top : bounds.top,
            rect.right < bounds.right ? rect.right : bounds.right,
            rect.bottom < bounds.bottom ? rect.bottom : bounds.bottom};
}

// Touching counts: two boxes side by side are one damage rectangle for the price of one.
bool Meet(const PixelRect& first, const PixelRect& second)
{
    return first.left <= second.right && second.left <= first.right && first.top <= second.bottom &&
           second.top <= first.bottom;
}

} // namespace

void CDrawnArea::Add(PixelRect rect)
{
    rect = Cut(rect, m_bounds);
    if (rect.IsEmpty())
        return;
    // Joining may make the rectangle meet others it did not meet before: keep going until it
    // meets none.
    for (int index = 0; index < m_count;) {
        if (!Meet(m_rects[index], rect)) {
            ++index;
            continue;
        }
        rect = Join(m_rects[index], rect);
        m_rects[index] = m_rects[--m_count];
        index = 0;
    }
    if (m_count < RECT_LIMIT) {
        m_rects[m_count++] = rect;
        return;
    }
    int best = 0;
    int64_t bestGrowth = INT64_MAX;
    for (int index = 0; index < m_count; ++index) {
        const int64_t growth = Join(m_rects[index], rect).GetArea() - m_rects[index].GetArea();
        if (growth < bestGrowth) {
            bestGrowth = growth;
            best = index;
        }
    }
    const PixelRect joined = Join(m_rects[best], rect);
    m_rects[best] = m_rects[--m_count];
    Add(joined);
}

void CDrawnArea::Add(const CDrawnArea& other)
{
    for (int index = 0; index < other.m_count; ++index)
        Add(other.m_rects[index]);
}

int64_t CDrawnArea::GetArea() const
{
    int64_t area = 0;
    for (int index = 0; index < m_count; ++index)
        area += m_rects[index].GetArea();
    return area;
}

void CDrawnArea::KeepDiffering(const uint32_t* first, int32_t firstStride, const uint32_t* second, int32_t secondStride)
{
    CDrawnArea differing;
    differing.m_bounds = m_bounds;
    for (int index = 0; index < m_count; ++index) {
        const PixelRect& rect = m_rects[index];
        // A car that moved a little differs in a few rows at its top and bottom, not between:
        // each run of differing rows is kept on its own, so that the rows between are neither
        // copied nor damaged.
        PixelRect run{rect.right, 0, rect.left, 0};
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            const uint32_t* one = first + static_cast<std::ptrdiff_t>(y) * firstStride;
            const uint32_t* other = second + static_cast<std::ptrdiff_t>(y) * secondStride;
            // Most rows are as they were: one comparison of the whole row says so fastest.
            if (std::memcmp(one + rect.left, other + rect.left, static_cast<size_t>(rect.right - rect.left) * 4) == 0) {
                if (!run.IsEmpty() && y + 1 - run.bottom >= ROWS_APART) {
                    differing.Add(run);
                    run = {rect.right, 0, rect.left, 0};
                }
                continue;
            }
            int32_t left = rect.left;
            while (one[left] == other[left])
                ++left;
            int32_t right = rect.right;
            while (one[right - 1] == other[right - 1])
                --right;
            run = {left < run.left ? left : run.left, run.IsEmpty() ? y : run.top,
                   right > run.right ? right : run.right, y + 1};
        }
        differing.Add(run);
    }
    *this = differing;
}
