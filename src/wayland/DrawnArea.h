#pragma once
#include <cstdint>

// A rectangle of pixels: left..right-1 by top..bottom-1.
struct PixelRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    int64_t GetArea() const { return IsEmpty() ? 0 : static_cast<int64_t>(right - left) * (bottom - top); }
};

// The part of a buffer that drawing changed, as a few rectangles: what a pass drew is copied to
// the buffer the compositor gets next and marked damaged there, and nothing else. A lift pass
// touches the button column and a few cars, far apart, so one bounding box would damage most of
// the building, and a people pass draws a hundred people, most of them as they were: each keeps
// a rectangle of its own, so that those that did not change can be left out. Past RECT_LIMIT
// rectangles, a new one joins the one it grows least.
class CDrawnArea {
public:
    static constexpr int RECT_LIMIT = 128;
    // KeepDiffering keeps apart two runs of differing rows with at least this many unchanged rows
    // between them.
    static constexpr int32_t ROWS_APART = 4;

    CDrawnArea() : m_count(0), m_rects{} {}

    // Adds a rectangle, cut to the buffer's bounds given by SetBounds.
    void Add(PixelRect rect);
    void Add(const CDrawnArea& other);
    // Everything within the bounds.
    void AddAll() { Add(m_bounds); }
    void Clear() { m_count = 0; }
    void SetBounds(int32_t width, int32_t height) { m_bounds = {0, 0, width, height}; }

    bool IsEmpty() const { return m_count == 0; }
    int GetCount() const { return m_count; }
    const PixelRect& GetRect(int index) const { return m_rects[index]; }
    // Cuts each rectangle to the pixels where two pictures of the bounds' size differ (each given
    // by its first pixel and its row length in pixels), and leaves out those where they do not.
    void KeepDiffering(const uint32_t* first, int32_t firstStride, const uint32_t* second, int32_t secondStride);
    // The sum of the rectangles' areas (they do not overlap much: overlapping ones are joined).
    int64_t GetArea() const;

private:
    PixelRect m_bounds{0, 0, INT32_MAX, INT32_MAX};
    int m_count;
    PixelRect m_rects[RECT_LIMIT];
};
